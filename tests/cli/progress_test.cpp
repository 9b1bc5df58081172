// The progress line: its text and estimate, drawing in place and wiping, the throttle; the
// host's part (a message wipes the line first, a set interrupt flag stops at the next
// yield); and the executable, which shows progress on a terminal only, never with --quiet.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <sstream>

#include "cli/batch_host.hpp"
#include "cli/progress_line.hpp"
#include "tests/support/run_batch.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::batch {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST(ProgressText, CountsShareElapsedAndEstimate) {
    EXPECT_EQ(progressText(ProgressStage::Trials, 30, 100, 5s, 5s), "Trials 30 of 100 (30%), 0:05 elapsed, about 0:11 left");
    // The estimate is from the stage's own pace, the elapsed time from the start.
    EXPECT_EQ(progressText(ProgressStage::Passes, 10000, 40000, 3725s, 60s),
              "Power passes 10000 of 40000 (25%), 1:02:05 elapsed, about 3:00 left");
    EXPECT_EQ(progressText(ProgressStage::ReadObjects, 0, 600, 0s, 0s), "Reading objects 0 of 600 (0%), 0:00 elapsed");
    EXPECT_EQ(progressText(ProgressStage::ReadObjects, 600, 600, 2s, 2s), "Reading objects 600 of 600 (100%), 0:02 elapsed");
    EXPECT_EQ(progressText(ProgressStage::Trials, 3, 0, 1s, 1s), "Trials 3 of 0, 0:01 elapsed");
    EXPECT_EQ(clockText(Seconds(-4)), "0:00");
    EXPECT_EQ(clockText(Seconds(59.9)), "0:59");
}

TEST(ProgressLineOutput, RewritesInPlaceAndWipes) {
    std::ostringstream out;
    ProgressLine line(out, 0ms);
    line.clear();
    EXPECT_EQ(out.str(), "");  // nothing shown, nothing to wipe
    line.update(ProgressStage::Passes, 10000, 40000);
    const std::string first = out.str();
    ASSERT_EQ(first.rfind("\rPower passes 10000 of 40000 (25%), 0:00 elapsed", 0), 0u) << first;
    line.update(ProgressStage::Passes, 9, 40000);  // a shorter text covers the longer one
    const std::string second = out.str().substr(first.size());
    EXPECT_EQ(second.size(), first.size());
    EXPECT_EQ(second.rfind("\rPower passes 9 of 40000", 0), 0u);
    EXPECT_EQ(second.back(), ' ');
    line.clear();
    const std::string wipe = out.str().substr(first.size() + second.size());
    const std::size_t visible = second.find_last_not_of(' ');  // the padding is blank already
    EXPECT_EQ(wipe, "\r" + std::string(visible, ' ') + "\r");
}

TEST(ProgressLineOutput, ThrottledWithinAStage) {
    std::ostringstream out;
    ProgressLine line(out, 1h);
    line.update(ProgressStage::ReadObjects, 1, 600);
    line.update(ProgressStage::ReadObjects, 2, 600);
    line.update(ProgressStage::ReadObjects, 3, 600);
    EXPECT_EQ(out.str().find("2 of"), std::string::npos);
    EXPECT_EQ(out.str().find("3 of"), std::string::npos);
    line.update(ProgressStage::Trials, 1, 100);  // a new stage shows at once
    EXPECT_NE(out.str().find("Trials 1 of 100"), std::string::npos);
}

TEST(BatchHostTerminal, MessageWipesTheLineAndInterruptStopsAtYield) {
    std::ostringstream err;
    std::atomic<bool> interrupted{false};
    BatchHost host(SettingValues{}, err, true, &interrupted);
    host.progress(ProgressStage::Trials, 1, 100);
    host.message("Something");
    const std::string text = err.str();
    const std::size_t wipe = text.find("\r", 1);
    ASSERT_NE(wipe, std::string::npos);
    EXPECT_EQ(text.substr(text.find("\r ", 1)), "\r" + std::string(wipe - 1, ' ') + "\rearlylate: Something\n");

    EXPECT_NO_THROW(host.yield());
    interrupted = true;
    EXPECT_THROW(host.yield(), Cancelled);

    std::ostringstream quiet;
    BatchHost silent(SettingValues{}, quiet);
    silent.progress(ProgressStage::Trials, 1, 100);
    EXPECT_NO_THROW(silent.yield());
    EXPECT_EQ(quiet.str(), "");
}

// Runs the batch runner with standard error on a new pseudo-terminal; returns what the
// terminal received, with the terminal's own CR before each LF taken out.
std::string stderrOnTerminal(const fs::path& dir, const std::string& extra) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return "no terminal";
    const std::string slave = ::ptsname(master);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int fd = ::open(slave.c_str(), O_RDWR | O_NOCTTY);
        const int null = ::open("/dev/null", O_WRONLY);
        if (fd < 0 || null < 0 || ::chdir(dir.c_str()) != 0) ::_exit(127);
        ::dup2(fd, 2);
        ::dup2(null, 1);
        ::close(master);
        ::setenv("SOURCE_DATE_EPOCH", "1796428800", 1);
        const std::string program = std::string(EARLYLATE_BIN_DIR) + "/earlylate-batch";
        if (extra.empty())
            ::execl(program.c_str(), program.c_str(), "-t", "Invader", "-o", "run.log", "sample.csv", nullptr);
        else
            ::execl(program.c_str(), program.c_str(), extra.c_str(), "-t", "Invader", "-o", "run.log", "sample.csv",
                    nullptr);
        ::_exit(127);
    }
    std::string received;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n <= 0) break;  // EIO once the child has gone
        received.append(buffer, static_cast<std::size_t>(n));
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::close(master);
    for (std::size_t at; (at = received.find("\r\n")) != std::string::npos;) received.erase(at, 1);
    return received;
}

TEST(BatchProgress, ShownOnATerminalOnlyAndNeverWhenQuiet) {
    test::TempDir dir;
    fs::copy_file(fs::path(EARLYLATE_SOURCE_DIR) / "data" / "sample.csv", dir / "sample.csv");

    const std::string shown = stderrOnTerminal(dir.path(), "");
    EXPECT_NE(shown.find("\rReading objects "), std::string::npos) << shown;
    EXPECT_NE(shown.find("\rTrials "), std::string::npos) << shown;
    EXPECT_NE(shown.find(" elapsed"), std::string::npos);
    // Wiped before the message and at the end: the last thing on the line is blank.
    EXPECT_NE(shown.find("\rearlylate: Missing value"), std::string::npos) << shown;
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), '\r');

    const std::string quiet = stderrOnTerminal(dir.path(), "--quiet");
    EXPECT_EQ(quiet.find('\r'), std::string::npos) << quiet;
    EXPECT_NE(quiet.find("earlylate: Missing value"), std::string::npos) << quiet;

    // Standard error into a file: the same bytes as on a quiet terminal, no progress.
    ASSERT_EQ(test::runBatch(dir.path(), "-t Invader -o run.log sample.csv"), 0);
    EXPECT_EQ(test::readFile(dir / "stderr.txt"), quiet);
}

}  // namespace
}  // namespace el::batch
