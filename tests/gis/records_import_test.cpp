#include "gis/records_import.hpp"

#include <cstdlib>
#include <sstream>

#include <gtest/gtest.h>

#include "gis/convert_command.hpp"
#include "tests/gis/gis_fixture.hpp"
#include "tests/support/error_text.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::gis {
namespace {

// Three coded regions as a GeoPackage (codes as text, one with leading zeros) and a table
// that names two of them by code and one by a region the layer lacks.
class RecordsImport : public ::testing::Test {
protected:
    RecordsImport() {
        test::writeGisFile(dir / "regions.gpkg", "GPKG",
                           {{"regions",
                             {{"code", OFTString}, {"name", OFTString}},
                             {{"POLYGON ((0 0,2 0,2 2,0 0))", {"007", "Seven"}},
                              {"POLYGON ((5 5,6 5,6 6,5 5))", {"7", "Seven again"}},
                              {"POINT (9 9)", {"042", "Forty-two"}}},
                             4326}});
        test::writeFile(dir / "first.csv", "site;taxon;year;code\nLake Ora;x;1990;007\nMount Bel;x;1994;042\n"
                                           "Mount Bel;y;1991;042\nNowhere;y;1993;099\n");
        source.table = dir / "first.csv";
        source.regions = dir / "regions.gpkg";
        source.columns = {"site", "", "", "code"};
        source.joinField = "code";
    }

    int convert(const std::vector<std::string>& args) {
        std::ostringstream out;
        err.str("");
        return runConvert(args, out, err, dir.path());
    }

    test::TempDir dir;
    vec::RecordsSource source;
    std::ostringstream err;
};

TEST_F(RecordsImport, NamesFromTheTableGeometryFromTheLayerByTextKeys) {
    Feedback quiet;
    EXPECT_THROW(importRecords(source, quiet), vec::RecordsError);  // "Nowhere" has no feature
    source.dropUnmatched = true;
    const vec::ImportedRecords imported = importRecords(source, quiet);
    const vec::VectorData& data = imported.built.data;
    ASSERT_EQ(data.objn(), 2);
    EXPECT_EQ(data.objects[0].name, "Lake Ora");
    EXPECT_EQ(data.objects[0].type, "polygon");
    EXPECT_EQ(data.objects[0].parts[0].x, (std::vector<double>{0, 2, 2}));  // 007, not 7
    EXPECT_EQ(data.objects[1].type, "point");
    EXPECT_EQ(data.objects[1].values, (std::vector<std::string>{"1994", "1991"}));
    ASSERT_EQ(imported.summary.size(), 1u);
    EXPECT_NE(imported.summary[0].find("1 feature of the regions layer without a record left out; 1 region without a "
                                       "feature dropped: \"Nowhere (key 099)\""),
              std::string::npos)
        << imported.summary[0];
}

TEST_F(RecordsImport, ConverterWritesALayerOnlyWithGeometry) {
    const std::string table = (dir / "first.csv").string(), out = (dir / "out.gpkg").string();
    EXPECT_EQ(convert({"--records", table}), 2);
    EXPECT_EQ(convert({"--records", table, "--join", "code=code", out}), 2);  // --join needs --regions
    EXPECT_EQ(convert({"--records", table, "--region-column", "site", out}), 1);
    EXPECT_NE(err.str().find("a GIS layer needs the regions' geometry"), std::string::npos) << err.str();
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(convert({"--records", table, "--region-column", "site", "--regions", (dir / "regions.gpkg").string(),
                       "--join", "code=code", "--drop-unmatched", out}),
              0)
        << err.str();
    EXPECT_NE(err.str().find("records: 2 regions"), std::string::npos);
    ASSERT_TRUE(std::filesystem::exists(out));
}

// World outlines as they come, keyed by numeric codes: a keyless feature, one without
// geometry, and Australia in two features. The table names its countries in words.
class CountryRecords : public ::testing::Test {
protected:
    CountryRecords() {
        test::writeFile(dir / "iso.json", R"({"3166-1": [
            {"alpha_2": "AU", "alpha_3": "AUS", "name": "Australia", "numeric": "036"},
            {"alpha_2": "CZ", "alpha_3": "CZE", "name": "Czechia", "numeric": "203", "official_name": "Czech Republic"},
            {"alpha_2": "RU", "alpha_3": "RUS", "name": "Russian Federation", "numeric": "643"},
            {"alpha_2": "NZ", "alpha_3": "NZL", "name": "New Zealand", "numeric": "554"}]})");
        ::setenv("EARLYLATE_ISO_CODES", (dir / "iso.json").c_str(), 1);
        test::writeGisFile(dir / "world.geojson", "GeoJSON",
                           {{"countries",
                             {{"id", OFTString}, {"name", OFTString}},
                             {{"POLYGON ((0 0,4 0,4 4,0 0))", {"036", "Australia"}},
                              {"POLYGON ((9 9,10 9,10 10,9 9))", {"036", "Ashmore and Cartier Is."}},
                              {"POLYGON ((20 20,21 20,21 21,20 20))", {std::nullopt, "Somewhere disputed"}},
                              {"", {"999", "No outline"}},
                              {"POLYGON ((30 30,31 30,31 31,30 30))", {"203", "Czechia"}},
                              {"POLYGON ((40 40,41 40,41 41,40 40))", {"643", "Russia"}}},
                             4326}});
        test::writeFile(dir / "first.csv",
                        "country,species,year\nAustralia,a,1990\nCzech Republic,a,1991\n"
                        "Russia,a,1992\nRussia,b,1993\nCzech Republic,c,1994\n");
        source.table = dir / "first.csv";
        source.regions = dir / "world.geojson";
        source.columns.key = "country";
        source.joinField = "id";
    }
    ~CountryRecords() override { ::unsetenv("EARLYLATE_ISO_CODES"); }

    std::string refusal() {
        Feedback quiet;
        return test::errorText<vec::RecordsError>([&] { importRecords(source, quiet); });
    }

    test::TempDir dir;
    vec::RecordsSource source;
};

TEST_F(CountryRecords, NamesJoinCodesOfALayerAsItComes) {
    // Joined as text, each name is offered the layer's code of its country.
    EXPECT_EQ(refusal(),
              "3 region(s) of the table have no feature in the regions layer: \"Australia\" (did you mean "
              "\"036\"?), \"Czech Republic\" (did you mean \"203\"?), \"Russia\" (did you mean \"643\"?) "
              "(--drop-unmatched leaves them out)");
    source.countryCodes = "numeric";
    source.minRegions = 2;
    Feedback quiet;
    const vec::ImportedRecords imported = importRecords(source, quiet);
    const vec::VectorData& data = imported.built.data;
    ASSERT_EQ(data.objn(), 3);
    EXPECT_EQ(data.objects[0].name, "Australia");
    EXPECT_EQ(data.objects[0].parts.size(), 2u);  // the mainland and the islands
    EXPECT_EQ(data.objects[1].name, "Czech Republic");
    ASSERT_EQ(data.valn(), 1);
    EXPECT_EQ(data.valname[0], "a");
    ASSERT_EQ(imported.summary.size(), 2u);
    EXPECT_EQ(imported.summary[0], "records: 2 of 3 species recorded in fewer than 2 regions left out");
    EXPECT_NE(imported.summary[1].find("; 1 feature of the regions layer with an empty \"id\" left out; 1 feature of "
                                       "the regions layer without geometry left out; 2 features of the regions layer "
                                       "joined into 1 region by their shared \"id\": \"036\""),
              std::string::npos)
        << imported.summary[1];
}

TEST_F(CountryRecords, UnknownNamesAndMissingFeaturesAreListedWithSuggestions) {
    source.countryCodes = "numeric";
    test::writeFile(dir / "first.csv", "country,species,year\nCzechia,a,1990\nNew Zealand,a,1991\nRusia,a,1992\n");
    EXPECT_EQ(refusal(),
              "1 name of column \"country\" is no ISO 3166 country (nor a code of one):\n"
              "  \"Rusia\" (line 4; did you mean \"Russia\"?)");
    test::writeFile(dir / "first.csv", "country,species,year\nCzechia,a,1990\nNew Zealand,a,1991\n");
    EXPECT_EQ(refusal(),
              "1 region(s) of the table have no feature in the regions layer: \"New Zealand (key 554)\" "
              "(--drop-unmatched leaves them out)");
    // Joined by name: the layer's name for the same country is suggested.
    source.countryCodes.clear();
    source.joinField = "name";
    test::writeFile(dir / "first.csv", "country,species,year\nCzech Republic,a,1990\nAustralla,a,1991\n");
    EXPECT_EQ(refusal(),
              "2 region(s) of the table have no feature in the regions layer: \"Czech Republic\" (did you "
              "mean \"Czechia\"?), \"Australla\" (did you mean \"Australia\"?) (--drop-unmatched leaves "
              "them out)");
}

}  // namespace
}  // namespace el::gis
