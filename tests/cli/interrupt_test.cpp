// Ctrl-C: SIGINT to a batch run in the middle of its trials, of the Read step and of the
// hindcast over every species ends with status 130, the source as it was, no file but the
// -o log, which is written whole with the lines so far. Standard error is on a pseudo-terminal, so the test
// sees the progress line of the stage it interrupts before it sends the signal.

#include <gtest/gtest.h>

#include <random>

#include "tests/cli/batch_process.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::test {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

TEST(Interrupt, DuringTheTrialsStopsWith130AndLeavesNothingHalfWritten) {
    TempDir dir;
    const std::string original = randomRegions(300, 500, 11);
    writeFile(dir / "regions.csv", original);
    BatchOnTerminal run(dir.path(), {"--add-prediction", "-t", "sp3", "--iterations", "100000", "-o", "run.log",
                                     "--map", "map.png", "regions.csv"});
    ASSERT_TRUE(run.waitFor("\rTrials ")) << run.received();
    ::kill(run.pid(), SIGINT);
    ASSERT_EQ(run.exitStatus(), 130) << run.received();

    EXPECT_EQ(readFile(dir / "regions.csv"), original);
    EXPECT_EQ(filesIn(dir.path()), (Names{"regions.csv", "run.log"}));
    EXPECT_NE(run.received().find("earlylate: Interrupted\n"), std::string::npos) << run.received();
    // The log holds the header and the species block, every line ended by CR LF.
    const std::string log = readFile(dir / "run.log");
    EXPECT_EQ(log.rfind("Supervised forecasting of the range expansion of alien species by early-late relationship\r\n", 0), 0u);
    EXPECT_NE(log.find("Target species:sp3\r\n"), std::string::npos);
    EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
    for (std::size_t at = 0; (at = log.find('\n', at)) != std::string::npos; ++at) ASSERT_EQ(log[at - 1], '\r');
}

TEST(Interrupt, DuringTheReadStopsWith130AndLeavesNothing) {
    TempDir dir;
    writeFile(dir / "big.csv", randomRegions(200000, 500, 11));
    // With no species the run itself would end at once: only the read can take long.
    BatchOnTerminal run(dir.path(), {"-s", "", "-o", "run.log", "big.csv"});
    // The runner's handler for Ctrl-C is in place before the Read shows its progress, and
    // the Read is all the work there is.
    ASSERT_TRUE(run.waitFor("\rReading objects ")) << "the read never began: " << run.received();
    ::kill(run.pid(), SIGINT);
    ASSERT_EQ(run.exitStatus(), 130) << "the read ended before the signal came: " << run.received();
    EXPECT_EQ(filesIn(dir.path()), (Names{"big.csv", "run.log"}));
    EXPECT_EQ(readFile(dir / "run.log"), "");
}

// Point regions in a row, each species dated at random or not yet there, so that many
// species are eligible at every cut-off year from 1965 to 2000.
std::string spreadingSpecies(int regions, int species, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> year(1950, 2015);
    std::string file = "vector,spreading\r\n";
    for (int s = 0; s < species; ++s) file += "sp" + std::to_string(s) + ",";
    file += "type$,name$,n,x,y\r\n";
    for (int i = 0; i < regions; ++i) {
        for (int s = 0; s < species; ++s)
            file += (random() % 6 == 0 ? std::string("NotYetArrived") : std::to_string(year(random))) + ",";
        file += "point,R" + std::to_string(i) + ",1," + std::to_string(i % 20) + "," + std::to_string(i / 20) + "\r\n";
    }
    return file;
}

TEST(Interrupt, DuringTheAllSpeciesHindcastStopsWith130AndWritesNoTable) {
    TempDir dir;
    writeFile(dir / "spread.csv", spreadingSpecies(200, 30, 5));
    std::string years;
    for (int year = 1965; year <= 2000; ++year) years += (years.empty() ? "" : ",") + std::to_string(year);
    BatchOnTerminal run(dir.path(),
                        {"--no-reliability", "--threads", "2", "--hindcast", years, "--hindcast-targets", "all",
                         "--hindcast-table", "all.csv", "--summary", "run.json", "-o", "run.log", "spread.csv"});
    ASSERT_TRUE(run.waitFor("\rHindcast years ")) << run.received();
    ::kill(run.pid(), SIGINT);
    ASSERT_EQ(run.exitStatus(), 130) << "the hindcast ended before the signal came: " << run.received();
    EXPECT_NE(run.received().find("earlylate: Interrupted\n"), std::string::npos) << run.received();
    // The forecast before the hindcast completed: its log is written whole; no table, no summary.
    EXPECT_EQ(filesIn(dir.path()), (Names{"run.log", "spread.csv"}));
    const std::string log = readFile(dir / "run.log");
    EXPECT_EQ(
        log.rfind("Supervised forecasting of the range expansion of alien species by early-late relationship\r\n", 0),
        0u);
    EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
}

}  // namespace
}  // namespace el::test
