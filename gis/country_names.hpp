#pragma once
// Country names and ISO 3166-1 codes: a table's "Czech Republic", "Bosnia and Herzegovina"
// or "Russia" turned into the code an outline file keys its countries by ("203", "CZ",
// "CZE"). Names compare folded: letter case, accents, punctuation and a leading "The" do not
// count, and the usual abbreviations ("Rep.", "Is.", "St.") stand for their words. Codes of
// any kind are taken too, so a table keyed by alpha-3 codes joins a layer keyed by numeric
// ones.
//
// The countries come from the iso-codes data (gis/country_codes_file.hpp reads it); a short
// list of common names the data lacks is added to them here.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace el::gis {

enum class CountryCodeKind { Numeric, Alpha2, Alpha3 };

// "numeric", "alpha-2", "alpha-3"; nothing for any other text.
std::optional<CountryCodeKind> countryCodeKindOf(std::string_view text);

struct Country {
    std::string alpha2, alpha3, numeric;  // "CZ", "CZE", "203"
    std::vector<std::string> names;       // as written: name, official and common names
    const std::string& code(CountryCodeKind kind) const;
    // Every code and at least one name: what an entry of the data must give.
    bool complete() const { return !alpha2.empty() && !alpha3.empty() && !numeric.empty() && !names.empty(); }
};

// Where the iso-codes package installs its JSON list of the countries; the environment
// variable EARLYLATE_ISO_CODES names another copy.
std::filesystem::path isoCountriesFile();

// A name with letter case, accents and punctuation folded: "Côte d'Ivoire" and "COTE
// D'IVOIRE" both give "cote d ivoire", "Bosnia and Herz." gives "bosnia and herzegovina".
std::string foldedCountryName(std::string_view name);

class CountryNames {
public:
    // The countries, with the common names the data lacks added to those whose alpha-2 code
    // they name. A folded name that two countries share names neither.
    explicit CountryNames(std::vector<Country> countries);

    // The country a name or code stands for; null when none, or when the name is ambiguous.
    const Country* find(std::string_view nameOrCode) const;

    // Up to three names the user may have meant, nearest first ("did you mean").
    std::vector<std::string> closest(std::string_view name) const;

    const std::vector<Country>& countries() const { return countries_; }

private:
    void addName(const std::string& name, std::size_t country);
    const Country* byCode(std::string_view code) const;

    std::vector<Country> countries_;
    std::map<std::string, std::size_t> byName_;  // folded name -> country
    std::map<std::string, std::size_t> byCode_;  // "CZ", "CZE", "203"
    std::vector<std::string> shownNames_;        // every name as written, for the suggestions
};

}  // namespace el::gis
