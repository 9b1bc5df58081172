// The progress line: its text and estimate, drawing in place and wiping, the throttle; and
// the executable, which shows it on a terminal only, never with --quiet, and wipes it before
// a message.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <sstream>

#include "cli/batch_console.hpp"
#include "cli/progress_line.hpp"
#include "tests/cli/batch_process.hpp"
#include "tests/support/run_batch.hpp"
#include "tests/support/sample_file.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::batch {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST(ProgressText, CountsShareElapsedAndEstimate) {
    EXPECT_EQ(progressText(ProgressStage::Trials, 30, 100, 5s, Seconds(70.0 / 6)),
              "Trials 30 of 100 (30%), 0:05 elapsed, about 0:11 left");
    EXPECT_EQ(progressText(ProgressStage::Passes, 10000, 40000, 3725s, 180s),
              "Power passes 10000 of 40000 (25%), 1:02:05 elapsed, about 3:00 left");
    EXPECT_EQ(progressText(ProgressStage::ReadObjects, 0, 600, 0s, std::nullopt),
              "Reading objects 0 of 600 (0%), 0:00 elapsed");
    EXPECT_EQ(progressText(ProgressStage::ReadObjects, 600, 600, 2s, std::nullopt),
              "Reading objects 600 of 600 (100%), 0:02 elapsed");
    EXPECT_EQ(progressText(ProgressStage::Trials, 3, 0, 1s, std::nullopt), "Trials 3 of 0, 0:01 elapsed");
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
    for (int done = 1; done <= 3; ++done) line.update(ProgressStage::ReadObjects, done, 600);
    EXPECT_EQ(out.str().find("2 of"), std::string::npos);
    line.update(ProgressStage::Trials, 1, 100);  // a new stage shows at once
    EXPECT_NE(out.str().find("Trials 1 of 100"), std::string::npos);
}

TEST(BatchConsoleTerminal, AMessageWipesTheProgressLineFirst) {
    std::ostringstream err;
    BatchConsole host(err, true);
    host.progress(ProgressStage::Trials, 1, 100);
    const std::size_t shown = err.str().size();
    host.message("Something");
    EXPECT_EQ(err.str().substr(shown), "\r" + std::string(shown - 1, ' ') + "\rearlylate: Something\n");
}

// What the terminal standard error is on receives from a run of the batch runner.
std::string stderrOnTerminal(const fs::path& dir, std::vector<std::string> args) {
    for (const char* a : {"-t", "Invader", "-o", "run.log", "sample.csv"}) args.emplace_back(a);
    test::BatchOnTerminal run(dir, args);
    run.exitStatus();
    return run.received();
}

TEST(BatchProgress, ShownOnATerminalOnlyAndNeverWhenQuiet) {
    test::TempDir dir;
    test::copySample(dir.path());

    const std::string shown = stderrOnTerminal(dir.path(), {});
    EXPECT_NE(shown.find("\rReading objects "), std::string::npos) << shown;
    EXPECT_NE(shown.find("\rTrials "), std::string::npos) << shown;
    EXPECT_NE(shown.find(" elapsed"), std::string::npos);
    // Wiped before the message and at the end: the last thing on the line is blank.
    EXPECT_NE(shown.find("\rearlylate: Missing value"), std::string::npos) << shown;
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), '\r');

    const std::string quiet = stderrOnTerminal(dir.path(), {"--quiet"});
    EXPECT_EQ(quiet.find('\r'), std::string::npos) << quiet;
    EXPECT_NE(quiet.find("earlylate: Missing value"), std::string::npos) << quiet;

    // Standard error into a file: the same bytes as on a quiet terminal, no progress.
    ASSERT_EQ(test::runBatch(dir.path(), "-t Invader -o run.log sample.csv"), 0);
    EXPECT_EQ(test::readFile(dir / "stderr.txt"), quiet);
}

}  // namespace
}  // namespace el::batch
