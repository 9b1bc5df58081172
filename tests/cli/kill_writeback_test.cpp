// The batch runner killed (SIGKILL) at random moments of a run that adds its prediction to
// the source: afterwards the source is byte for byte either the original or the complete
// new version, never a mixture or a truncated file. (tests/engine/writeback_test.cpp stops
// the write-back after each of its steps in turn, deterministically.)

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/cli/batch_process.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::test {
namespace {

using Clock = std::chrono::steady_clock;

TEST(KilledWriteBack, SourceIsEitherOriginalOrComplete) {
    TempDir dir;
    // Enough regions that the run takes a while; no trials, so all of it is one pass.
    const std::string original = randomRegions(600, 100, 7);
    const std::vector<std::string> args{"--no-reliability", "--add-prediction", "-o", "run.log", "regions.csv"};

    // The complete new version, from one uninterrupted run.
    writeFile(dir / "regions.csv", original);
    const auto start = Clock::now();
    ASSERT_EQ(exitStatusAfter(startBatch(dir.path(), args)), 0) << readFile(dir / "stderr.txt");
    const auto runTime = Clock::now() - start;
    const std::string complete = readFile(dir / "regions.csv");
    ASSERT_NE(complete, original);

    std::mt19937 random(20240611);
    std::uniform_int_distribution<long long> delay(0, std::chrono::duration_cast<std::chrono::microseconds>(runTime * 11 / 10).count());
    int untouched = 0;
    for (int round = 0; round < 50; ++round) {
        writeFile(dir / "regions.csv", original);
        const pid_t pid = startBatch(dir.path(), args);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(pid, SIGKILL);
        exitStatusAfter(pid);
        const std::string now = readFile(dir / "regions.csv");
        ASSERT_TRUE(now == original || now == complete) << "round " << round << ": " << now.size() << " bytes";
        untouched += now == original ? 1 : 0;
    }
    EXPECT_GT(untouched, 0);  // the kills did land inside runs
}

}  // namespace
}  // namespace el::test
