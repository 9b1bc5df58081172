// Ctrl-C: SIGINT to a batch run in the middle of its trials, and in the middle of the Read
// step, ends with status 130, the source as it was, no file but the -o log, which is
// written whole with the lines so far.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/cli/batch_process.hpp"
#include "tests/support/foreign_lock.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Names = std::vector<std::string>;

TEST(Interrupt, DuringTheTrialsStopsWith130AndLeavesNothingHalfWritten) {
    TempDir dir;
    const std::string original = randomRegions(300, 500, 11);
    writeFile(dir / "regions.csv", original);
    const pid_t pid = startBatch(dir.path(), {"--add-prediction", "-t", "sp3", "--iterations", "100000", "-o",
                                              "run.log", "--map", "map.png", "regions.csv"});
    std::this_thread::sleep_for(1500ms);
    ASSERT_TRUE(stillRunning(pid)) << readFile(dir / "stderr.txt");
    ::kill(pid, SIGINT);
    ASSERT_EQ(exitStatusAfter(pid), 130) << readFile(dir / "stderr.txt");

    EXPECT_EQ(readFile(dir / "regions.csv"), original);
    EXPECT_EQ(filesIn(dir.path()), (Names{"regions.csv", "run.log", "stderr.txt"}));
    EXPECT_NE(readFile(dir / "stderr.txt").find("earlylate: Interrupted\n"), std::string::npos);
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
    const pid_t pid = startBatch(dir.path(), {"-s", "", "-o", "run.log", "big.csv"});
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    // The runner takes the source's lock (its handler for Ctrl-C already in place) just
    // before the Read, and the Read is all the work there is.
    while (!holdsLockOn(pid, dir / "big.csv") && stillRunning(pid) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    ASSERT_TRUE(holdsLockOn(pid, dir / "big.csv")) << "the read never began";
    ::kill(pid, SIGINT);
    ASSERT_EQ(exitStatusAfter(pid), 130) << "the read ended before the signal came";
    EXPECT_EQ(filesIn(dir.path()), (Names{"big.csv", "run.log", "stderr.txt"}));
    EXPECT_EQ(readFile(dir / "run.log"), "");
}

}  // namespace
}  // namespace el::test
