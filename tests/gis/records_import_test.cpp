#include "gis/records_import.hpp"

#include <sstream>

#include <gtest/gtest.h>

#include "gis/convert_command.hpp"
#include "tests/gis/gis_fixture.hpp"
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

}  // namespace
}  // namespace el::gis
