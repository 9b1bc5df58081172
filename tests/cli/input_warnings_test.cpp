// What the batch runner refuses or warns of before a run, on standard error, without a line
// of the log changing: a target that names no species, duplicated region names, a species
// without dates, a training share that hides no date, and the encoding it took a file for.

#include <gtest/gtest.h>

#include "tests/support/run_batch.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::test {
namespace {

namespace fs = std::filesystem;

// Six regions; "Harmonia axyridis" is the species to forecast, "Keyword" has no date.
const std::string kRegions = crlf({"vector", "c", "Harmonia axyridis,SpB,Keyword,type$,name$,n,x,y",
                                   "2001,1990,Arrived,point,R1,1,0,0", "2003,1991,NotYetArrived,point,R2,1,1,0",
                                   "2004,1993,Arrived,point,R3,1,2,0", "NotYetArrived,1995,Arrived,point,R4,1,3,0",
                                   "NotYetArrived,1997,Arrived,point,R5,1,4,0", "2002,1992,Arrived,point,R6,1,5,0"});

struct Folder {
    TempDir dir;
    explicit Folder(const std::string& bytes) { writeFile(dir / "v.csv", bytes); }
    int run(const std::string& args) { return runBatch(dir.path(), args + " v.csv"); }
    std::string errors() const { return readFile(dir / "stderr.txt"); }
    std::string log() const { return readFile(dir / "stdout.txt"); }
};

TEST(BatchRefusals, TargetThatNamesNoSpeciesExitsWithTheClosestNames) {
    Folder f(kRegions);
    EXPECT_EQ(f.run("--no-reliability -s 'Harmonia axyridis,SpB' -t 'Harmonia axiridis'"), 2);
    EXPECT_EQ(f.errors().rfind("earlylate-batch: option -t: no species named \"Harmonia axiridis\"; did you mean "
                               "\"Harmonia axyridis\"?\n",
                               0),
              0u)
        << f.errors();
    EXPECT_EQ(f.log(), "");  // no run, not even the log's header
    EXPECT_EQ(f.run("--no-reliability -s SpB -t 'Harmonia axyridis'"), 2);
    EXPECT_NE(f.errors().find("the target species \"Harmonia axyridis\" is not among the species analysed"),
              std::string::npos);
    EXPECT_EQ(f.run("--no-reliability -t spb --map m.png"), 2);
    EXPECT_NE(f.errors().find("did you mean \"SpB\"?"), std::string::npos);
    EXPECT_EQ(f.run("--no-reliability -t SpB --map m.png --map-species Harmonia"), 2);
    EXPECT_NE(f.errors().find("option --map-species: no species named \"Harmonia\"; the species are"),
              std::string::npos)
        << f.errors();
    EXPECT_FALSE(fs::exists(f.dir / "m.png"));
    // An empty species list still only clears the log.
    EXPECT_EQ(f.run("-s '' -t Nothing"), 0);
}

TEST(BatchWarnings, InputWarningsGoToStandardErrorAndLeaveTheLogAsItWas) {
    Folder f(kRegions);
    ASSERT_EQ(f.run("--no-reliability -s 'Harmonia axyridis,SpB' -t 'Harmonia axyridis' --training-ratio 0.7"), 0);
    EXPECT_EQ(f.errors(),
              "earlylate: warning: the training share 0.7 leaves no validation region for \"Harmonia axyridis\": it "
              "keeps 4 of the 6 regions for training, and \"Harmonia axyridis\" has a date in only 4 regions (only a "
              "hidden date validates the fit)\n");
    ASSERT_EQ(f.run("--no-reliability -s 'Harmonia axyridis,SpB' -t 'Harmonia axyridis' --training-ratio 0.5"), 0);
    EXPECT_EQ(f.errors(), "");  // hides a date: nothing to say

    ASSERT_EQ(f.run("--no-reliability -t 'Harmonia axyridis'"), 0);
    EXPECT_EQ(f.errors(), "earlylate: warning: the species \"Keyword\" has no dated region (only keywords or missing "
                          "values): no date can be fitted or predicted for it\n");

    // Duplicated names are warned of with the format check off (the start-up value) and on.
    std::string twice = kRegions;
    twice.replace(twice.find(",R4,"), 4, ",R1,");
    Folder d(twice);
    ASSERT_EQ(d.run("--no-reliability -s 'Harmonia axyridis,SpB' -t 'Harmonia axyridis'"), 0);
    const std::string warning = "earlylate: warning: 1 region name is used more than once: \"R1\" (2 regions); "
                                "regions are told apart by their place in the file, not by name\n";
    EXPECT_EQ(d.errors(), warning);
    const std::string log = d.log();
    // The table keeps a row per region in file order, told apart by number, each with its own date.
    ASSERT_EQ(d.run("--no-reliability -s 'Harmonia axyridis,SpB' -t 'Harmonia axyridis' --predictions p.csv"), 0);
    const std::string table = readFile(d.dir / "p.csv");
    EXPECT_NE(table.find("\r\nR1,1,yes,training,2001,"), std::string::npos) << table;
    EXPECT_NE(table.find("\r\nR1,4,yes,,NotYetArrived,"), std::string::npos) << table;
    ASSERT_EQ(d.run("--no-reliability -s 'Harmonia axyridis,SpB' -t 'Harmonia axyridis' --format-check"), 0);
    EXPECT_NE(d.errors().find(warning), std::string::npos);
    EXPECT_NE(d.errors().find("earlylate:  4th point R1 object name is duplicated\n"), std::string::npos);

    // The log is the same with or without the warnings.
    Folder plain(kRegions);
    ASSERT_EQ(plain.run("--no-reliability -s 'Harmonia axyridis,SpB' -t 'Harmonia axyridis'"), 0);
    std::string renamed = plain.log();
    for (auto at = renamed.find("R4"); at != std::string::npos; at = renamed.find("R4", at)) renamed.replace(at, 2, "R1");
    EXPECT_EQ(log, renamed);
}

// A Western file whose accented bytes also pass for CP932 is read as what it is, the user
// is told so, and the write-back returns it in the same encoding.
TEST(BatchWarnings, AssumedEncodingIsNamedAndKeptByTheWriteBack) {
    const std::string source = "vector,c\r\nsp1,sp2,type$,name$,n,x,y\r\n1990,2001,point,R\xe9publique fran\xe7"
                               "aise,1,0,0\r\n1991,2003,point,Espa\xf1" "a,1,1,0\r\n1992,2002,point,Stra\xdf" "e,1,2,0\r\n";
    Folder f(source);
    ASSERT_EQ(f.run("--no-reliability -t sp2 --add-prediction"), 0) << f.errors();
    EXPECT_EQ(f.errors(), "earlylate: read v.csv as WINDOWS-1252 (not UTF-8); use --encoding to choose another\n");
    EXPECT_NE(f.log().find("République française"), std::string::npos);
    const std::string written = readFile(f.dir / "v.csv");
    EXPECT_NE(written.find("R\xe9publique fran\xe7" "aise,"), std::string::npos);
    EXPECT_NE(written.find("Predicted_sp2"), std::string::npos);

    // Named, it is no assumption: nothing is said.
    ASSERT_EQ(f.run("--no-reliability -t sp2 --encoding ISO-8859-1"), 0);
    EXPECT_EQ(f.errors(), "");
}

}  // namespace
}  // namespace el::test
