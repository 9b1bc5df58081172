#include "gis/occurrences.hpp"

#include <gtest/gtest.h>

#include "base/decimal_year.hpp"
#include "base/numtext.hpp"
#include "gis/gis_error.hpp"
#include "tests/gis/gis_fixture.hpp"
#include "tests/support/temp_dir.hpp"
#include "vector/records_error.hpp"

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
    } catch (const std::runtime_error& e) {  // the file's refusals and the columns'
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

// A download in the tab-separated "simple" layout: quotes are characters, genus-only rows
// have no species, every precision of an event date reads, and a line with a field too many
// or too few stops the import naming it.
TEST(Occurrences, ATabSeparatedDownloadWithItsTraps) {
    TempDir dir;
    const gis::RegionsLayer layer = twoSquares(dir);
    const std::string header =
        "gbifID\tspecies\tscientificName\tlocality\tdecimalLongitude\tdecimalLatitude\teventDate\tyear\t"
        "occurrenceStatus\tbasisOfRecord\n";
    const std::string rows =
        "1\tAus bus\tAus bus (L.)\t\"Old\" mill\t5\t5\t1987-06-15T10:30:00+02:00\t\tPRESENT\tHUMAN_OBSERVATION\n"
        "2\tAus bus\tAus bus (L.)\tby the \"bridge\t15\t5\t1894/1896\t\tPRESENT\tHUMAN_OBSERVATION\n"
        "3\t\tAus\tx\t5\t5\t1800\t1800\tPRESENT\tHUMAN_OBSERVATION\n"
        "4\tCus dus\tCus dus\tx\t5\t5\t1987-06\t\tPRESENT\tHUMAN_OBSERVATION\n"
        "5\tCus dus\tCus dus\tx\t5\t5\t1987-06-01/1987-06-30\t1990\tPRESENT\tHUMAN_OBSERVATION\n"
        "6\tCus dus\tCus dus\tx\t15\t5\t\t\tPRESENT\tHUMAN_OBSERVATION\n"
        "7\tCus dus\tCus dus\tx\t15\t5\t1700\t\tABSENT\tHUMAN_OBSERVATION\n"
        "8\tCus dus\tCus dus\tx\t15\t5\t1701\t\tPRESENT\tFOSSIL_SPECIMEN\n";
    writeFile(dir / "0001.csv", header + rows);
    Feedback quiet;
    const gis::OccurrenceResult result = gis::placeOccurrences(dir / "0001.csv", layer, {}, quiet);
    ASSERT_EQ(result.records.size(), 3U);
    EXPECT_EQ(result.records[0].species, "Aus bus");  // the species column, not the one with the authorship
    EXPECT_EQ(result.records[0].date, plainnum(*el::decimalYear(1987, 6, 15, 10.5 * 3600)));  // the zone ignored
    EXPECT_EQ(result.records[1].species, "Cus dus");
    EXPECT_EQ(result.records[1].date,
              plainnum(*el::decimalYear(1987, 6, 1)));  // a filled year (1990) wins over its line's date
    EXPECT_EQ(result.records[2].region, "B");
    EXPECT_EQ(result.records[2].date, "1894");
    EXPECT_EQ(result.unnamed, 1);
    EXPECT_EQ(result.undated, 1);
    EXPECT_EQ(result.absent, 1);
    EXPECT_EQ(result.fossils, 1);

    writeFile(dir / "short.csv", header + rows + "9\tCus dus\tCus dus\t5\t5\t1990\t\tPRESENT\tHUMAN_OBSERVATION\n");
    const std::string shortLine = placedError(dir / "short.csv", layer, {});
    EXPECT_NE(shortLine.find("Line 10"), std::string::npos) << shortLine;
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

// Filters keep the lines of a download as they keep a table's rows, before any point is
// read from them: the summary counts only the lines kept.
TEST(Occurrences, FiltersKeepOnlyTheLinesAskedFor) {
    TempDir dir;
    const gis::RegionsLayer layer = twoSquares(dir);
    writeFile(dir / "0002.csv",
              "gbifID\tspecies\tdecimalLongitude\tdecimalLatitude\tyear\tbasisOfRecord\n"
              "1\tAus bus\t5\t5\t1990\tPRESERVED_SPECIMEN\n"
              "2\tAus bus\t6\t5\t2001\tHUMAN_OBSERVATION\n"
              "3\tCus dus\t15\t5\t1980\tMACHINE_OBSERVATION\n"
              "4\tCus dus\t16\tabc\t2002\tHUMAN_OBSERVATION\n");
    Feedback quiet;
    gis::OccurrenceRules rules;
    rules.filters = {"basisOfRecord=HUMAN_OBSERVATION"};
    const gis::OccurrenceResult observed = gis::placeOccurrences(dir / "0002.csv", layer, {}, quiet, "auto", rules);
    ASSERT_EQ(observed.records.size(), 1U);
    EXPECT_EQ(observed.records[0].date, "2001");  // not the earlier preserved specimen
    EXPECT_EQ(observed.points, 2);
    EXPECT_EQ(observed.badCoordinates, 1);
    EXPECT_EQ(observed.filterNote,
              "records: 2 of 4 lines of the occurrence file kept (basisOfRecord is \"HUMAN_OBSERVATION\")");
    EXPECT_EQ(gis::placeOccurrences(dir / "0002.csv", layer, {}, quiet).filterNote, "");

    rules.filters = {"basisOfRecord=HUMAN_OBSERVATIONS"};
    try {
        gis::placeOccurrences(dir / "0002.csv", layer, {}, quiet, "auto", rules);
        ADD_FAILURE() << "a filter that keeps no line was taken";
    } catch (const vec::RecordsError& e) {
        EXPECT_NE(std::string(e.what()).find("(did you mean \"HUMAN_OBSERVATION\"?)"), std::string::npos) << e.what();
    }
    rules.filters = {"basis=HUMAN_OBSERVATION"};
    EXPECT_THROW(gis::placeOccurrences(dir / "0002.csv", layer, {}, quiet, "auto", rules), vec::RecordsError);
}

struct StopAtFirstCheckpoint : Feedback {
    int checkpoints = 0;
    void checkpoint() override {
        ++checkpoints;
        throw Cancelled{};
    }
};

// A download of many batches' worth of lines over the two squares and beyond them, with
// every kind of line that is no point; `broken` > 0 puts a line with a field too few there.
std::string manyLines(int count, int broken = 0) {
    std::string text = "gbifID\tspecies\tdecimalLongitude\tdecimalLatitude\tyear\toccurrenceStatus\n";
    for (int i = 1; i <= count; ++i) {
        const int kind = (i * 7919) % 101;
        const std::string lon = kind == 3 ? "x" : std::to_string((i * 37) % 250 / 10.0);
        const std::string species = kind == 5 ? "" : "Sp " + std::to_string(i % 23);
        const std::string year = kind == 7 ? "" : std::to_string(1900 + (i * 131) % 120);
        text += std::to_string(i) + "\t" + species + "\t" + lon + "\t" + std::to_string((i * 13) % 11) + "\t" + year +
                (i == broken ? "\n"
                 : kind == 9 ? "\tABSENT\n"
                             : "\tPRESENT\n");
    }
    return text;
}

// Placing on a second thread while the calling one reads gives what one thread gives,
// and an error or a stop on either side ends both.
TEST(Occurrences, PlacedApartFromTheReadingAsOnOneThread) {
    TempDir dir;
    const gis::RegionsLayer layer = twoSquares(dir);
    writeFile(dir / "many.tsv", manyLines(50000));
    Feedback quiet;
    const gis::OccurrenceResult one = gis::placeOccurrences(dir / "many.tsv", layer, {}, quiet, "auto", {}, 1);
    const gis::OccurrenceResult two = gis::placeOccurrences(dir / "many.tsv", layer, {}, quiet, "auto", {}, 2);
    ASSERT_GT(one.records.size(), 30U);
    ASSERT_GT(one.outside, 5000);
    ASSERT_EQ(two.records.size(), one.records.size());
    for (std::size_t i = 0; i < one.records.size(); ++i) {
        EXPECT_EQ(two.records[i].region, one.records[i].region);
        EXPECT_EQ(two.records[i].species, one.records[i].species);
        EXPECT_EQ(two.records[i].date, one.records[i].date);
        EXPECT_EQ(two.records[i].row, one.records[i].row);
    }
    EXPECT_EQ(two.summaryLine(), one.summaryLine());

    writeFile(dir / "broken.tsv", manyLines(50000, 40000));
    const auto errorOn = [&](int threads) {
        try {
            gis::placeOccurrences(dir / "broken.tsv", layer, {}, quiet, "auto", {}, threads);
        } catch (const vec::RecordsError& e) {
            return std::string(e.what());
        }
        return std::string("(no error)");
    };
    EXPECT_NE(errorOn(1).find("Line 40001"), std::string::npos) << errorOn(1);
    EXPECT_EQ(errorOn(2), errorOn(1));

    StopAtFirstCheckpoint stop;
    EXPECT_THROW(gis::placeOccurrences(dir / "many.tsv", layer, {}, stop, "auto", {}, 2), Cancelled);
    EXPECT_EQ(stop.checkpoints, 1);
}

TEST(Occurrences, ALongFileCanBeStopped) {
    TempDir dir;
    const gis::RegionsLayer layer = twoSquares(dir);
    std::string text = "species,lon,lat,year\n";
    for (int i = 0; i < 10000; ++i) text += "Aus,5,5,2000\n";
    writeFile(dir / "p.csv", text);
    StopAtFirstCheckpoint stop;
    EXPECT_THROW(gis::placeOccurrences(dir / "p.csv", layer, {}, stop), Cancelled);
    EXPECT_EQ(stop.checkpoints, 1);
    // Also while a filter passes over line after line.
    text += "Bus,5,5,2000\n";
    writeFile(dir / "p.csv", text);
    StopAtFirstCheckpoint stopFiltered;
    gis::OccurrenceRules rules;
    rules.filters = {"species=Bus"};
    EXPECT_THROW(gis::placeOccurrences(dir / "p.csv", layer, {}, stopFiltered, "auto", rules), Cancelled);
    EXPECT_EQ(stopFiltered.checkpoints, 1);
}

}  // namespace
}  // namespace el::test
