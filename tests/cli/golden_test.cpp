// Golden logs: the batch runner's log for each sample in data/ under several option sets,
// compared number by number with the logs kept in tests/golden/. An intended change is
// recorded by running the tests with EARLYLATE_UPDATE_GOLDEN=1 and committing the new logs
// with a message that says why they changed.

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/log_compare.hpp"
#include "tests/support/run_batch.hpp"
#include "tests/support/temp_dir.hpp"

namespace {

namespace fs = std::filesystem;
using el::test::readFile;
using el::test::TempDir;

const fs::path kSource = EARLYLATE_SOURCE_DIR;

struct GoldenCase {
    const char* golden;  // file name in tests/golden/
    const char* sample;  // file name in data/
    const char* args;
};

class GoldenLogs : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenLogs, BatchLogMatchesTheKeptLog) {
    const GoldenCase& c = GetParam();
    TempDir dir;
    fs::copy_file(kSource / "data" / c.sample, dir / c.sample);
    ASSERT_EQ(el::test::runBatch(dir.path(), std::string(c.args) + " -o out.log " + c.sample), 0)
        << readFile(dir / "stderr.txt");
    const std::string log = readFile(dir / "out.log");
    const fs::path golden = kSource / "tests" / "golden" / c.golden;
    if (std::getenv("EARLYLATE_UPDATE_GOLDEN")) {
        el::test::writeFile(golden, log);
        GTEST_SKIP() << "updated " << golden;
    }
    ASSERT_TRUE(fs::exists(golden)) << golden << " is missing; run with EARLYLATE_UPDATE_GOLDEN=1 to create it";
    el::test::expectSameNumbers(log, readFile(golden), c.golden, 1e-12);
}

// The kept logs come out byte for byte the same on one thread and on eight.
TEST(GoldenLogsOnThreads, OneAndEightThreadsGiveTheKeptLogs) {
    for (const GoldenCase c : {GoldenCase{"sample.target.log", "sample.csv", "-t Invader"},
                               GoldenCase{"sample.split.log", "sample.csv", "-t Invader --training-ratio 0.6 --missing row"}}) {
        TempDir dir;
        fs::copy_file(kSource / "data" / c.sample, dir / c.sample);
        std::string logs[2];
        for (int k = 0; k < 2; ++k) {
            const std::string threads = k == 0 ? " --threads 1" : " --threads 8";
            ASSERT_EQ(el::test::runBatch(dir.path(), std::string(c.args) + threads + " -o out.log " + c.sample), 0)
                << readFile(dir / "stderr.txt");
            logs[k] = readFile(dir / "out.log");
        }
        EXPECT_EQ(logs[0], logs[1]) << c.golden;
        el::test::expectSameNumbers(logs[1], readFile(kSource / "tests" / "golden" / c.golden), c.golden, 1e-12);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Samples, GoldenLogs,
    ::testing::Values(GoldenCase{"sample.target.log", "sample.csv", "-t Invader"},
                      GoldenCase{"sample.target.norel.log", "sample.csv",
                                 "-t Invader --no-reliability --similarity-output similarity --el-matrix detailed"},
                      GoldenCase{"sample.split.log", "sample.csv", "-t Invader --training-ratio 0.6 --missing row"},
                      GoldenCase{"sample.exclude.log", "sample.csv",
                                 "-t Invader --no-reliability --exclude-limited 40 --weight-power 2 --sample-power 1"},
                      GoldenCase{"sample.auto.log", "sample.csv",
                                 "--auto-weight -s SpA,SpB,SpC,SpD --no-reliability --similarity-output distance"},
                      GoldenCase{"sample.unweighted.log", "sample.csv", "-s SpD,SpC,SpB,SpA --iterations 20"},
                      // The README's worked hindcast.
                      GoldenCase{"spread.hindcast.log", "spread.csv",
                                 "-t Invader --no-reliability --hindcast 2008,2011,2014,2017"}),
    [](const auto& instance) { return el::test::testNameOf(instance.param.golden); });

}  // namespace
