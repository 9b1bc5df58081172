// The batch runner on a records table: the same forecast as on the vector file of the same
// data, every refusal naming what is at fault, and nothing drawn that needs a geometry the
// table does not bring.

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/run_batch.hpp"
#include "tests/support/temp_dir.hpp"

namespace {

namespace fs = std::filesystem;
using el::test::readFile;
using el::test::runBatch;
using el::test::TempDir;
using el::test::writeFile;

const fs::path kConvert = fs::path(EARLYLATE_BIN_DIR) / "earlylate-convert";

// Six regions, three species and the target T, as a spreadsheet exports a first-record
// table: T has not reached F, D's first record of B comes twice, one date is an ISO date.
const char* const kTable =
    "\xEF\xBB\xBF" "Country;Taxon;First_Record_Year\r\n"
    "A;S1;1960\r\nB;S1;1963\r\nC;S1;1966\r\nD;S1;1969\r\nE;S1;1972\r\nF;S1;1975\r\n"
    "A;S2;1970\r\nB;S2;1972\r\nC;S2;1975\r\nD;S2;1979\r\nD;S2;1977-01-01\r\nE;S2;1980\r\nF;S2;1984\r\n"
    "A;S3;1980\r\nB;S3;1981\r\nC;S3;1985\r\nE;S3;1990\r\nF;S3;1993\r\n"
    "A;T;2000\r\nB;T;2003\r\nC;T;2004\r\nD;T;2009\r\nE;T;2010\r\n";

// The same data as a vector file, regions at the origin as the import places them.
const char* const kVectorFile =
    "vector\r\nsame data\r\nS1,S2,S3,T,type$,name$,count,x1,y1\r\n"
    "1960,1970,1980,2000,point,A,1,0,0\r\n1963,1972,1981,2003,point,B,1,0,0\r\n"
    "1966,1975,1985,2004,point,C,1,0,0\r\n1969,1977,NotYetArrived,2009,point,D,1,0,0\r\n"
    "1972,1980,1990,2010,point,E,1,0,0\r\n1975,1984,1993,NotYetArrived,point,F,1,0,0\r\n";

std::string withoutFileName(const std::string& log) {
    const auto start = log.find("File name: ");
    if (start == std::string::npos) return log;
    return log.substr(0, start) + log.substr(log.find('\n', start) + 1);
}

class RecordsBatch : public ::testing::Test {
protected:
    RecordsBatch() { writeFile(dir / "first.csv", kTable); }
    std::string err() const { return readFile(dir / "stderr.txt"); }
    TempDir dir;
};

TEST_F(RecordsBatch, ForecastsAsTheVectorFileOfTheSameData) {
    writeFile(dir / "same.csv", kVectorFile);
    ASSERT_EQ(runBatch(dir.path(), "-t T --no-reliability -s S1,S2,S3,T -o table.log --records first.csv"), 0) << err();
    EXPECT_NE(err().find("records: 6 regions, 4 species, 23 records (1 merged"), std::string::npos) << err();
    EXPECT_NE(err().find("2 region-species pairs without a record read as NotYetArrived"), std::string::npos);
    ASSERT_EQ(runBatch(dir.path(), "-t T --no-reliability -s S1,S2,S3,T -o file.log same.csv"), 0) << err();
    const std::string tableLog = readFile(dir / "table.log");
    EXPECT_NE(tableLog.find("File name: first.csv\r\n"), std::string::npos);
    EXPECT_NE(tableLog.find("Predicted infestation date ="), std::string::npos);
    EXPECT_EQ(withoutFileName(tableLog), withoutFileName(readFile(dir / "file.log")));
    EXPECT_EQ(runBatch(dir.path(), "-t T --no-reliability --add-prediction --records first.csv"), 1);
    EXPECT_NE(err().find("The prediction cannot be added to first.csv: it is a records table."), std::string::npos)
        << err();
    EXPECT_EQ(readFile(dir / "first.csv"), kTable);
    // The import writes nothing but what was asked for.
    EXPECT_EQ(el::test::filesIn(dir.path()), (std::vector<std::string>{"file.log", "first.csv", "same.csv", "stderr.txt",
                                                                        "stdout.txt", "table.log"}));
}

TEST_F(RecordsBatch, BadValuesAndMissingColumnsAreNamed) {
    writeFile(dir / "bad.tsv", "region\tspecies\tyear\nA\tS1\t1990\nB\tS1\tca. 1995\nC\t\t1991\nD\tS1\t1992?\n");
    EXPECT_EQ(runBatch(dir.path(), "--records bad.tsv"), 1);
    EXPECT_NE(err().find("3 rows of the table"), std::string::npos) << err();
    EXPECT_NE(err().find("line 3 (region \"B\", species \"S1\"): the date \"ca. 1995\""), std::string::npos);
    EXPECT_NE(err().find("line 4 (region \"C\", species \"\"): no species"), std::string::npos);
    EXPECT_NE(err().find("line 5"), std::string::npos);
    EXPECT_EQ(readFile(dir / "stdout.txt"), "");

    EXPECT_EQ(runBatch(dir.path(), "--records first.csv --date-column Year"), 1);
    EXPECT_NE(err().find("\"Country\", \"Taxon\", \"First_Record_Year\""), std::string::npos) << err();
}

TEST_F(RecordsBatch, AnotherEncodingIsNamed) {
    writeFile(dir / "sjis.csv", "region,species,date\n\x93\x8c\x8b\x9e,S1,1990\n\x8b\x9e\x93\x73,S1,\x95\xaa\x95\x7a\n");
    ASSERT_EQ(runBatch(dir.path(), "--records sjis.csv -s ''"), 0) << err();
    EXPECT_NE(err().find("records: the table was read as CP932"), std::string::npos) << err();
    EXPECT_NE(err().find("records: 2 regions, 1 species"), std::string::npos);
}

TEST_F(RecordsBatch, UsageErrors) {
    EXPECT_EQ(runBatch(dir.path(), "--records first.csv first.csv"), 2);
    EXPECT_EQ(runBatch(dir.path(), "--records first.csv --join code=id"), 2);
    EXPECT_NE(err().find("need --regions"), std::string::npos) << err();
    EXPECT_EQ(runBatch(dir.path(), "--records first.csv --absent never"), 2);
    EXPECT_EQ(runBatch(dir.path(), "--region-column Country first.csv"), 2);
    EXPECT_EQ(runBatch(dir.path(), "--occurrences first.csv"), 2);
    EXPECT_EQ(runBatch(dir.path(), "--records first.csv --regions r.geojson --join code"), 2);
    EXPECT_EQ(runBatch(dir.path(), "--occurrences first.csv --regions r.geojson --join code=id"), 2);
    EXPECT_EQ(runBatch(dir.path(), "--records first.csv --keep-specimens"), 2);
    EXPECT_NE(err().find("--keep-specimens needs --occurrences"), std::string::npos) << err();
    EXPECT_EQ(runBatch(dir.path(), "--help"), 0);
    EXPECT_NE(readFile(dir / "stdout.txt").find("--records TABLE"), std::string::npos);
}

TEST_F(RecordsBatch, WithoutGeometryTheMapRefusesAndTheForecastRuns) {
    EXPECT_EQ(runBatch(dir.path(), "-t T --no-reliability --records first.csv --map map.png --fit-plot fit.png"), 1);
    EXPECT_NE(err().find("\"map.png\" is not drawn: a map needs the regions' geometry"), std::string::npos) << err();
    EXPECT_FALSE(fs::exists(dir / "map.png"));
    EXPECT_TRUE(fs::exists(dir / "fit.png"));
    EXPECT_NE(readFile(dir / "stdout.txt").find("Predicted infestation date ="), std::string::npos);
    if (fs::exists(kConvert)) {  // a predictions layer would hold every region at 0,0
        EXPECT_EQ(runBatch(dir.path(), "-t T --no-reliability --records first.csv --predictions p.gpkg"), 1);
        EXPECT_NE(err().find("a layer needs the regions' geometry"), std::string::npos) << err();
        EXPECT_FALSE(fs::exists(dir / "p.gpkg"));
    }

    ASSERT_EQ(runBatch(dir.path(), "-t T --no-reliability --records first.csv --hindcast 2004"), 0) << err();
    EXPECT_NE(err().find("distance baseline needs the regions' geometry"), std::string::npos);
    const std::string log = readFile(dir / "stdout.txt");
    const std::string lastLine = log.substr(log.rfind("\n", log.size() - 2) + 1);
    EXPECT_NE(lastLine.find("null,null"), std::string::npos) << lastLine;  // the distance figures
}

TEST_F(RecordsBatch, ATableGivenAsVectorFileIsDescribed) {
    EXPECT_EQ(runBatch(dir.path(), "first.csv"), 1);
    const std::string text = err();
    EXPECT_NE(text.find("earlylate: Invalid file type\n"), std::string::npos) << text;
    EXPECT_NE(text.find("This file looks like a table (semicolon-separated, 3 columns: Country, Taxon, "
                        "First_Record_Year). To read first records from it, use --records first.csv"),
              std::string::npos);
}

TEST_F(RecordsBatch, JoinedToARegionsLayerByCodes) {
    if (!fs::exists(kConvert)) GTEST_SKIP() << "built without GIS support";
    writeFile(dir / "coded.csv", "region,species,year,code\nAlba,x,1990,008\nBern,x,1991,010\nBern,y,1993,010\n"
                                 "Cork,y,1992,011\n");
    writeFile(dir / "layer.geojson",
              R"({"type":"FeatureCollection","features":[
{"type":"Feature","properties":{"key":"008"},"geometry":{"type":"Polygon","coordinates":[[[0,0],[1,0],[1,1],[0,0]]]}},
{"type":"Feature","properties":{"key":"8"},"geometry":{"type":"Polygon","coordinates":[[[5,5],[6,5],[6,6],[5,5]]]}},
{"type":"Feature","properties":{"key":"010"},"geometry":{"type":"Polygon","coordinates":[[[2,0],[3,0],[3,1],[2,0]]]}}]})");
    const std::string joined = "--records coded.csv --regions layer.geojson --join code=key";
    EXPECT_EQ(runBatch(dir.path(), joined), 1);
    EXPECT_NE(err().find("\"Cork (key 011)\""), std::string::npos) << err();

    const std::string convert = "cd " + el::test::shellQuote(dir.path().string()) + " && " +
                                el::test::shellQuote(kConvert.string()) + " " + joined +
                                " --drop-unmatched out.csv 2>stderr.txt";
    ASSERT_EQ(std::system(convert.c_str()), 0) << err();
    EXPECT_NE(err().find("1 feature of the regions layer without a record left out; 1 region without a feature "
                         "dropped: \"Cork (key 011)\""),
              std::string::npos)
        << err();
    EXPECT_EQ(readFile(dir / "out.csv"), "vector\r\nFrom a records table\r\nx,y,type$,name$,count,x1,y1,x2,y2,x3,y3,\r\n"
                                         "1990,NotYetArrived,polygon,Alba, 3 , 0 , 0 , 1 , 0 , 1 , 1 ,\r\n"
                                         "1991,1993,polygon,Bern, 3 , 2 , 0 , 3 , 0 , 3 , 1 ,\r\n");
}

}  // namespace
