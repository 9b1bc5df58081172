#include "gis/country_names.hpp"

#include <gtest/gtest.h>

#include "gis/country_codes_file.hpp"
#include "gis/country_join.hpp"
#include "gis/gis_error.hpp"
#include "tests/support/error_text.hpp"

namespace el::gis {
namespace {

using Texts = std::vector<std::string>;

// A few countries as the iso-codes data writes them: names with accents, "X, Y of" forms,
// parentheses, and the names only a common-name list knows (Russia, Turkey, Czech Republic).
constexpr const char* kIsoJson = R"json({"3166-1": [
 {"alpha_2": "AU", "alpha_3": "AUS", "name": "Australia", "numeric": "036"},
 {"alpha_2": "AX", "alpha_3": "ALA", "name": "Åland Islands", "numeric": "248"},
 {"alpha_2": "BA", "alpha_3": "BIH", "name": "Bosnia and Herzegovina", "numeric": "070",
  "official_name": "Republic of Bosnia and Herzegovina"},
 {"alpha_2": "CD", "alpha_3": "COD", "name": "Congo, The Democratic Republic of the", "numeric": "180"},
 {"alpha_2": "CG", "alpha_3": "COG", "name": "Congo", "numeric": "178", "official_name": "Republic of the Congo"},
 {"alpha_2": "CI", "alpha_3": "CIV", "name": "Côte d'Ivoire", "numeric": "384"},
 {"alpha_2": "CZ", "alpha_3": "CZE", "name": "Czechia", "numeric": "203", "official_name": "Czech Republic"},
 {"alpha_2": "FK", "alpha_3": "FLK", "name": "Falkland Islands (Malvinas)", "numeric": "238"},
 {"alpha_2": "KN", "alpha_3": "KNA", "name": "Saint Kitts and Nevis", "numeric": "659"},
 {"alpha_2": "RO", "alpha_3": "ROU", "name": "Romania", "numeric": "642"},
 {"alpha_2": "RU", "alpha_3": "RUS", "name": "Russian Federation", "numeric": "643"},
 {"alpha_2": "TR", "alpha_3": "TUR", "name": "Türkiye", "numeric": "792", "official_name": "Republic of Türkiye"},
 {"alpha_2": "X1", "alpha_3": "XAA", "name": "Twin", "numeric": "901"},
 {"alpha_2": "X2", "alpha_3": "XAB", "name": "Twin", "numeric": "902"}
]})json";

CountryNames countries() { return CountryNames(countriesOfJson(kIsoJson, "test")); }

std::string alpha2Of(const CountryNames& names, const std::string& name) {
    const Country* country = names.find(name);
    return country ? country->alpha2 : "(none)";
}

TEST(CountryNames, NamesFoldAndCommonNamesAndCodesOfAnyKindAreFound) {
    EXPECT_EQ(foldedCountryName("  Côte d’Ivoire "), "cote d ivoire");
    EXPECT_EQ(foldedCountryName("The Gambia"), "gambia");
    EXPECT_EQ(foldedCountryName("St. Kitts & Nevis"), "saint kitts and nevis");
    EXPECT_EQ(foldedCountryName("ȘTEFAN Łódź"), "stefan lodz");
    const CountryNames names = countries();
    for (const auto& [name, code] : std::vector<std::pair<std::string, std::string>>{
             {"Russia", "RU"},
             {"russian federation", "RU"},
             {"Turkey", "TR"},
             {"TURKIYE", "TR"},
             {"Czech Republic", "CZ"},
             {"Czech Rep.", "CZ"},
             {"Bosnia and Herz.", "BA"},
             {"Cote d'Ivoire", "CI"},
             {"Ivory Coast", "CI"},
             {"Democratic Republic of the Congo", "CD"},
             {"Dem. Rep. Congo", "CD"},
             {"Congo", "CG"},
             {"Falkland Islands", "FK"},
             {"Aland", "AX"},
             {"St Kitts and Nevis", "KN"},
             {"Rep Congo", "(none)"},  // "Rep" without its point is no abbreviation
             {"aus", "AU"},
             {"36", "AU"},
             {"cz", "CZ"},
             {"Twin", "(none)"},  // a name two countries share names neither
             {"X1", "X1"},
             {"Atlantis", "(none)"}})
        EXPECT_EQ(alpha2Of(names, name), code) << name;
    EXPECT_EQ(names.find("Australia")->code(CountryCodeKind::Numeric), "036");
    EXPECT_EQ(names.find("Australia")->code(CountryCodeKind::Alpha3), "AUS");
    EXPECT_EQ(names.closest("Rumania"), Texts{"Romania"});
}

TEST(CountryNames, TheDataFileIsCheckedAndAMissingOneNamesThePackage) {
    EXPECT_THROW(countriesOfJson("[]", "f.json"), GisError);
    EXPECT_NE(test::errorText<GisError>([] {
                  countriesOfJson(R"({"3166-1": [{"alpha_2": "AU"}]})", "f.json");
              }).find("f.json: entry 1 of the \"3166-1\" list lacks"),
              std::string::npos);
    EXPECT_NE(test::errorText<GisError>([] { readIsoCountries("/nonexistent/iso_3166-1.json"); }).find("iso-codes"),
              std::string::npos);
}

std::vector<vec::Record> recordsNamed(const Texts& names) {
    std::vector<vec::Record> records;
    std::int64_t line = 2;
    for (const std::string& name : names) records.push_back({name, "sp", "1990", line++, name});
    return records;
}

TEST(CountryJoin, KeysBecomeTheLayersCodesAndUnknownNamesAreListedWithSuggestions) {
    const CountryNames names = countries();
    // Numeric codes as an integer field gives them ("36"), alpha-3 in another letter case.
    const std::map<std::string, vec::RegionShape> numeric{{"36", {}}, {"203", {}}, {"643", {}}};
    std::vector<vec::Record> records = recordsNamed({"Australia", "Czech Republic", "Russia", "Romania", "Czechia"});
    joinCountryCodes(records, names, CountryCodeKind::Numeric, numeric, "country");
    EXPECT_EQ(records[0].key, "36");
    EXPECT_EQ(records[1].key, "203");
    EXPECT_EQ(records[2].key, "643");
    EXPECT_EQ(records[3].key, "642");  // no feature: the code itself, for the join to refuse or drop
    EXPECT_EQ(records[4].key, "203");
    EXPECT_EQ(records[0].region, "Australia");  // the names stay the table's
    const std::map<std::string, vec::RegionShape> alpha{{"aus", {}}};
    records = recordsNamed({"AU"});
    joinCountryCodes(records, names, CountryCodeKind::Alpha3, alpha, "country");
    EXPECT_EQ(records[0].key, "aus");
    records = recordsNamed({"Rumania", "Australia", "Atlantis", "Rumania"});
    EXPECT_EQ(test::errorText<vec::RecordsError>(
                  [&] { joinCountryCodes(records, names, CountryCodeKind::Numeric, numeric, "country"); }),
              "2 names of column \"country\" are no ISO 3166 country (nor a code of one):\n"
              "  \"Rumania\" (line 2; did you mean \"Romania\"?)\n"
              "  \"Atlantis\" (line 4)");
}

}  // namespace
}  // namespace el::gis
