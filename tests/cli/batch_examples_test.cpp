// Runs the built earlylate-batch on the example vector files and compares its logs with
// the examples' logs, number by number.

#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "base/settings.hpp"
#include "cli/batch_options.hpp"
#include "tests/support/log_compare.hpp"
#include "tests/support/run_batch.hpp"
#include "tests/support/temp_dir.hpp"

namespace {

namespace fs = std::filesystem;
using el::test::readFile;
using el::test::runBatch;
using el::test::TempDir;

// The worked examples live in the shared folder beside the repository.
const fs::path kExamples = fs::path(EARLYLATE_SOURCE_DIR).parent_path() / "shared" / "examples";

struct Example {
    const char* log;
    const char* input;
    const char* args;
    const char* rewritten = nullptr;  // the input as --add-prediction leaves it
};

class BatchExamples : public ::testing::TestWithParam<Example> {};

TEST_P(BatchExamples, LogMatchesTheExample) {
    const Example& ex = GetParam();
    if (!fs::exists(kExamples / ex.log)) {
        // Locally the examples may be absent; in CI their absence is a broken checkout.
        const char* ci = std::getenv("CI");
        if (ci != nullptr && std::string(ci) == "true") FAIL() << "the worked examples are missing at " << kExamples;
        GTEST_SKIP() << "examples not available";
    }
    TempDir dir;
    fs::copy_file(kExamples / ex.input, dir / ex.input);
    EXPECT_EQ(runBatch(dir.path(), std::string(ex.args) + " -o out.log " + ex.input), 0) << readFile(dir / "stderr.txt");
    el::test::expectSameNumbers(readFile(dir / "out.log"), readFile(kExamples / ex.log), ex.log, 1e-9);
    if (ex.rewritten)
        el::test::expectSameNumbers(readFile(dir / ex.input), readFile(kExamples / ex.rewritten), ex.rewritten, 1e-9);
    const std::string stderrName = std::string(ex.log).substr(0, std::string(ex.log).size() - 4) + ".stderr";
    const std::string expectedErr = fs::exists(kExamples / stderrName) ? readFile(kExamples / stderrName) : "";
    EXPECT_EQ(readFile(dir / "stderr.txt"), expectedErr);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, BatchExamples,
    ::testing::Values(
        Example{"plain.rel.log", "plain.csv", "-t Xus --similarity-output similarity --el-matrix detailed"},
        Example{"plain.norel.log", "plain.csv",
                "-t Xus --similarity-output similarity --el-matrix detailed --no-reliability"},
        Example{"keywords.rel.log", "keywords.csv", "-t Ybus --format-check"},
        Example{"keywords.norel.log", "keywords.csv", "-t Ybus --format-check --no-reliability"},
        Example{"keywords.auto.rel.log", "keywords.csv",
                "--auto-weight -s Sp1,Sp2,Sp3 --similarity-output distance --missing row"},
        Example{"keywords.auto.norel.log", "keywords.csv",
                "--auto-weight -s Sp1,Sp2,Sp3 --similarity-output distance --missing row --no-reliability"},
        Example{"training.rel.log", "training.csv", "-t Zus --training-ratio 0.7"},
        Example{"training.norel.log", "training.csv", "-t Zus --training-ratio 0.7 --no-reliability"},
        Example{"keywords.exclude.norel.log", "keywords.csv",
                "-t Ybus --no-reliability --exclude-limited 10 --el-matrix detailed --add-prediction",
                "keywords.after-add-prediction.csv"}),
    [](const auto& instance) { return el::test::testNameOf(instance.param.log); });

TEST(BatchExitStatus, UsageErrorsStoppedRunsAndEmptySpeciesLists) {
    TempDir dir;
    el::test::writeFile(dir / "v.csv", el::test::crlf({"vector", "c", "A,B,type$,name$,count,x1,y1",
                                                       "2000,1990,point,R1,1,0,0", "2001,1991,point,R2,1,1,0"}));
    for (const char* args : {"--bogus v.csv", "--el-matrix full v.csv", "--similarity-output both v.csv", "v.csv -t",
                             "", "v.csv v.csv", "--threads 0 v.csv", "--threads 2.5 v.csv", "--threads many v.csv",
                             "-s A,C v.csv"})
        EXPECT_EQ(runBatch(dir.path(), args), 2) << args;
    EXPECT_NE(readFile(dir / "stderr.txt").find("\"C\""), std::string::npos);
    EXPECT_EQ(runBatch(dir.path(), "v.csv", "tomorrow"), 2);

    // An empty species list completes with an empty log.
    EXPECT_EQ(runBatch(dir.path(), "-s '' -o out.log v.csv"), 0);
    EXPECT_TRUE(fs::exists(dir / "out.log"));
    EXPECT_EQ(readFile(dir / "out.log"), "");

    // A stopped run exits with 1 and still saves its log.
    EXPECT_EQ(runBatch(dir.path(), "--weight-power six -o out.log v.csv"), 1);
    EXPECT_EQ(readFile(dir / "stderr.txt"), "earlylate: The weight power text \"six\" is not a number\n");
    EXPECT_EQ(readFile(dir / "out.log").rfind("Supervised forecasting", 0), 0u);
    EXPECT_NE(readFile(dir / "out.log").find("File name: v.csv\r\nDate of calculation: 12-05-2026\r\n"), std::string::npos);
    EXPECT_EQ(runBatch(dir.path(), "-o missing.log absent.csv"), 1);
    EXPECT_TRUE(fs::exists(dir / "missing.log"));
}

// Every option of the settings table shows its setting's start-up value, and every help
// text starts in the same column (an option too long for its column stands on its own line).
TEST(BatchHelp, ShowsEachSettingsStartUpValueInAlignedColumns) {
    const std::string help = el::batch::usageText();
    const auto columnOf = [&](std::size_t at) { return at - (help.rfind('\n', at) + 1); };
    const std::size_t helpColumn = columnOf(help.find("no progress line on standard error"));
    EXPECT_EQ(columnOf(help.find("show this help and exit")), helpColumn);
    for (const auto& info : el::settingTable()) {
        const std::string flag(info.batch.flag);
        if (flag.empty()) continue;
        const std::string startup =
            std::string(info.name) + "=" + (info.startup.empty() ? std::string("\"\"") : std::string(info.startup));
        const std::size_t at = help.find(" " + startup + " ");
        ASSERT_NE(at, std::string::npos) << startup;
        const std::size_t lineStart = help.rfind('\n', at) + 1;
        const std::size_t flagAt = help.rfind(" " + flag + " ", at);
        EXPECT_TRUE(flagAt != std::string::npos && flagAt + 1 >= help.rfind('\n', lineStart - 2)) << flag;
        EXPECT_EQ(columnOf(help.find(std::string(info.help), at)), helpColumn) << flag;
        EXPECT_EQ(help.find(std::string(info.help), at), help.find('\n', at) - info.help.size()) << flag;
    }
}

}  // namespace
