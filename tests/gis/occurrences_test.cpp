#include "gis/occurrences.hpp"

#include <gtest/gtest.h>

#include "base/decimal_year.hpp"
#include "base/numtext.hpp"
#include "gis/gis_error.hpp"
#include "tests/gis/gis_fixture.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::test {
namespace {

using gis::GisError;
using Texts = std::vector<std::string>;

// Two squares sharing the edge x = 10: "A" (0..10) before "B" (10..20).
gis::RegionsLayer twoSquares(const TempDir& dir) {
    writeGisFile(dir / "sq.geojson", "GeoJSON",
                 {{"squares",
                   {{"name", OFTString}},
                   {{"POLYGON ((0 0,10 0,10 10,0 10,0 0))", {"A"}}, {"POLYGON ((10 0,20 0,20 10,10 10,10 0))", {"B"}}}}});
    return gis::readRegionsLayer(dir / "sq.geojson", "", "");
}

std::string placedError(const std::filesystem::path& file, const gis::RegionsLayer& layer,
                        const gis::OccurrenceColumns& columns) {
    Feedback quiet;
    try {
        gis::placeOccurrences(file, layer, columns, quiet);
    } catch (const GisError& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(Occurrences, EachRegionAndSpeciesKeepsItsEarliestPointAndTheRestIsCounted) {
    TempDir dir;
    const gis::RegionsLayer layer = twoSquares(dir);
    writeFile(dir / "p.csv",
              "gbifID,Species,decimalLongitude,decimalLatitude,eventDate,year\n"
              "1,Aus bus,5,5,2004-06-12,\n"
              "2,Aus bus,6,6,2001-01-01,2003\n"
              "3,Cus dus,10,5,1995,\n"
              "4,Aus bus,15,5,2010-03,\n"
              "5,Aus bus,50,50,2000,\n"
              "6,Aus bus,5,5,,\n"
              "7,,5,5,2000,\n"
              "8,Aus bus,abc,5,2000,\n"
              "9,Aus bus,5,95,2000,\n"
              "10,Aus bus,7,7,2004-06-01/2004-06-30,\n");
    Feedback quiet;
    const gis::OccurrenceResult result = gis::placeOccurrences(dir / "p.csv", layer, {}, quiet);
    ASSERT_EQ(result.records.size(), 3U);
    const auto expect = [&](std::size_t i, const char* region, const char* species, const std::string& date, int row) {
        EXPECT_EQ(result.records[i].region, region);
        EXPECT_EQ(result.records[i].species, species);
        EXPECT_EQ(result.records[i].date, date);
        EXPECT_EQ(result.records[i].row, row);
    };
    expect(0, "A", "Aus bus", "2003", 3);  // a filled year wins over the event date
    expect(1, "A", "Cus dus", "1995", 4);  // on the shared edge: the first region
    expect(2, "B", "Aus bus", plainnum(*el::decimalYear(2010, 3, 1)), 5);
    EXPECT_EQ(result.points, 10);
    EXPECT_EQ(result.placed, 5);
    EXPECT_EQ(result.outside, 1);
    EXPECT_EQ(result.undated, 1);
    EXPECT_EQ(result.unnamed, 1);
    EXPECT_EQ(result.badCoordinates, 2);
    EXPECT_EQ(result.badRows, (std::vector<std::int64_t>{9, 10}));
    EXPECT_NE(result.summaryLine().find("2 with bad coordinates (lines 9, 10)"), std::string::npos) << result.summaryLine();
}

TEST(Occurrences, ColumnsNamedByTheOptionsOrRefusedWithTheHeaders) {
    TempDir dir;
    const gis::RegionsLayer layer = twoSquares(dir);
    writeFile(dir / "p.tsv", "x\ty\ttaxon\twhen\n5,5\t5\tAus\t1999-12\n");
    const std::string missing = placedError(dir / "p.tsv", layer, {});
    EXPECT_NE(missing.find("no species column"), std::string::npos) << missing;
    EXPECT_NE(missing.find("columns: x, y, taxon, when"), std::string::npos) << missing;
    const std::string wrong = placedError(dir / "p.tsv", layer, {"taxon", "", "", "date"});
    EXPECT_NE(wrong.find("no column named \"date\""), std::string::npos) << wrong;
    Feedback quiet;
    const gis::OccurrenceResult result = gis::placeOccurrences(dir / "p.tsv", layer, {"TAXON", "", "", "when"}, quiet);
    ASSERT_EQ(result.records.size(), 1U);  // the decimal comma of a tab-delimited file read
    EXPECT_EQ(result.records[0].date, plainnum(*el::decimalYear(1999, 12, 1)));
    writeFile(dir / "c.csv", "x,y,taxon,when\n\"5,5\",5,Aus,1999\n");
    const gis::OccurrenceResult commas = gis::placeOccurrences(dir / "c.csv", layer, {"taxon", "", "", "when"}, quiet);
    EXPECT_EQ(commas.badCoordinates, 1);
}

struct StopAtFirstCheckpoint : Feedback {
    int checkpoints = 0;
    void checkpoint() override {
        ++checkpoints;
        throw Cancelled{};
    }
};

TEST(Occurrences, ALongFileCanBeStopped) {
    TempDir dir;
    const gis::RegionsLayer layer = twoSquares(dir);
    std::string text = "species,lon,lat,year\n";
    for (int i = 0; i < 10000; ++i) text += "Aus,5,5,2000\n";
    writeFile(dir / "p.csv", text);
    StopAtFirstCheckpoint stop;
    EXPECT_THROW(gis::placeOccurrences(dir / "p.csv", layer, {}, stop), Cancelled);
    EXPECT_EQ(stop.checkpoints, 1);
}

}  // namespace
}  // namespace el::test
