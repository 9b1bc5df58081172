// The batch runner killed (SIGKILL) at random moments of a run that adds its prediction to
// the source: afterwards the source is byte for byte either the original or the complete
// new version, never a mixture or a truncated file.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

#include "tests/support/run_batch.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Enough regions that the run takes a while; no trials, so all of it is one pass.
std::string manyRegions(int regions) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> year(1950, 2010);
    std::string file = "vector,many regions\r\nsp1,sp2,sp3,type$,name$,n,x,y\r\n";
    for (int i = 0; i < regions; ++i)
        file += std::to_string(year(random)) + "," + std::to_string(year(random)) + "," + std::to_string(year(random)) +
                ",point,R" + std::to_string(i) + ",1," + std::to_string(i % 100) + "," + std::to_string(i / 100) + "\r\n";
    return file;
}

pid_t startBatch(const fs::path& dir, const std::string& file) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::chdir(dir.c_str()) != 0) ::_exit(127);
        ::setenv("SOURCE_DATE_EPOCH", "1796428800", 1);
        const std::string program = std::string(EARLYLATE_BIN_DIR) + "/earlylate-batch";
        ::execl(program.c_str(), program.c_str(), "--no-reliability", "--add-prediction", "-o", "run.log",
                file.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return pid;
}

TEST(KilledWriteBack, SourceIsEitherOriginalOrComplete) {
    TempDir dir;
    const std::string original = manyRegions(600);

    // The complete new version, from one uninterrupted run.
    writeFile(dir / "regions.csv", original);
    const auto start = Clock::now();
    const pid_t whole = startBatch(dir.path(), "regions.csv");
    int status = 0;
    ASSERT_EQ(::waitpid(whole, &status, 0), whole);
    const auto runTime = Clock::now() - start;
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << readFile(dir / "run.log");
    const std::string complete = readFile(dir / "regions.csv");
    ASSERT_NE(complete, original);

    std::mt19937 random(20240611);
    const auto longest = std::chrono::duration_cast<std::chrono::microseconds>(runTime * 11 / 10).count();
    std::uniform_int_distribution<long long> delay(0, longest);
    int untouched = 0;
    for (int round = 0; round < 50; ++round) {
        writeFile(dir / "regions.csv", original);
        const pid_t pid = startBatch(dir.path(), "regions.csv");
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(pid, SIGKILL);
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        const std::string now = readFile(dir / "regions.csv");
        ASSERT_TRUE(now == original || now == complete) << "round " << round << ": " << now.size() << " bytes";
        untouched += now == original ? 1 : 0;
    }
    EXPECT_GT(untouched, 0);  // the kills did land inside runs
}

}  // namespace
}  // namespace el::test
