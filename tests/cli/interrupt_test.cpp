// Ctrl-C: SIGINT to a batch run in the middle of its trials, and in the middle of the Read
// step, ends with status 130, the source as it was, no scratch file left and the -o log
// written whole with the lines so far.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <set>
#include <thread>

#include "tests/support/temp_dir.hpp"

namespace el::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string regionsFile(int regions) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> year(1950, 2010);
    std::string file = "vector,regions\r\nsp1,sp2,sp3,type$,name$,n,x,y\r\n";
    for (int i = 0; i < regions; ++i)
        file += std::to_string(year(random)) + "," + std::to_string(year(random)) + "," + std::to_string(year(random)) +
                ",point,R" + std::to_string(i) + ",1," + std::to_string(i % 500) + "," + std::to_string(i / 500) + "\r\n";
    return file;
}

pid_t startBatch(const fs::path& dir, std::vector<std::string> args) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::chdir(dir.c_str()) != 0) ::_exit(127);
        if (::freopen("stderr.txt", "w", stderr) == nullptr || ::freopen("/dev/null", "w", stdout) == nullptr) ::_exit(127);
        ::setenv("SOURCE_DATE_EPOCH", "1796428800", 1);
        const std::string program = std::string(EARLYLATE_BIN_DIR) + "/earlylate-batch";
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    return pid;
}

bool stillRunning(pid_t pid) {
    int status = 0;
    return ::waitpid(pid, &status, WNOHANG) == 0;
}

int exitStatusAfter(pid_t pid) {
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
}

std::set<std::string> filesIn(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().string());
    return names;
}

TEST(Interrupt, DuringTheTrialsStopsWith130AndLeavesNothingHalfWritten) {
    TempDir dir;
    const std::string original = regionsFile(300);
    writeFile(dir / "regions.csv", original);
    const pid_t pid = startBatch(dir.path(), {"--add-prediction", "-t", "sp3", "--iterations", "100000", "-o",
                                              "run.log", "--map", "map.png", "regions.csv"});
    std::this_thread::sleep_for(1500ms);
    ASSERT_TRUE(stillRunning(pid)) << readFile(dir / "stderr.txt");
    ::kill(pid, SIGINT);
    ASSERT_EQ(exitStatusAfter(pid), 130) << readFile(dir / "stderr.txt");

    EXPECT_EQ(readFile(dir / "regions.csv"), original);
    EXPECT_EQ(filesIn(dir.path()), (std::set<std::string>{".earlylate.lock", "regions.csv", "run.log", "stderr.txt"}));
    EXPECT_NE(readFile(dir / "stderr.txt").find("earlylate: Interrupted\n"), std::string::npos);

    // The log holds the header and the species block, every line ended by CR LF.
    const std::string log = readFile(dir / "run.log");
    EXPECT_EQ(log.rfind("Supervised forecasting of the range expansion of alien species by early-late relationship\r\n", 0), 0u);
    EXPECT_NE(log.find("Target species:sp3\r\n"), std::string::npos);
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
    for (std::size_t at = 0; (at = log.find('\n', at)) != std::string::npos; ++at) ASSERT_EQ(log[at - 1], '\r');
}

TEST(Interrupt, DuringTheReadStopsWith130AndRemovesTheScratchCopy) {
    TempDir dir;
    writeFile(dir / "big.csv", regionsFile(200000));
    // With no species the run itself would end at once: only the read can take long.
    const pid_t pid = startBatch(dir.path(), {"-s", "", "-o", "run.log", "big.csv"});
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (!fs::exists(dir / "temp1.tmp") && stillRunning(pid) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    ASSERT_TRUE(fs::exists(dir / "temp1.tmp")) << "the read never began";
    ::kill(pid, SIGINT);
    ASSERT_EQ(exitStatusAfter(pid), 130) << "the read ended before the signal came";
    EXPECT_EQ(filesIn(dir.path()), (std::set<std::string>{".earlylate.lock", "big.csv", "run.log", "stderr.txt"}));
    EXPECT_EQ(readFile(dir / "run.log"), "");
}

}  // namespace
}  // namespace el::test
