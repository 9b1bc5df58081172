// What a run leaves for the figures, its progress counts, and a run cancelled at a yield:
// the log keeps its lines, no file is written and the button comes back.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "engine/engine.hpp"
#include "engine/figure_summary.hpp"
#include "tests/support/recording_host.hpp"
#include "tests/support/temp_dir.hpp"
#include "vector/vector_file.hpp"

namespace el {
namespace {

namespace fs = std::filesystem;
using engine::RegionRole;
using engine::RunStatus;

// Records progress and throws Cancelled at the yield numbered `cancelAt` (0: never).
class CancellingHost : public test::RecordingHost {
public:
    void yield() override {
        test::RecordingHost::yield();
        if ((cancelAt > 0 && yields == cancelAt) || (!cancelAtCaption.empty() && caption(Label::RunProgress) == cancelAtCaption))
            throw Cancelled{};
    }
    void progress(ProgressStage stage, long long done, long long total) override {
        last[static_cast<int>(stage)] = {done, total};
    }
    long cancelAt = 0;
    std::string cancelAtCaption;
    std::pair<long long, long long> last[3]{};
};

struct SampleRun {
    SampleRun() : cwd(dir.path()) {
        source = dir / "sample.csv";
        fs::copy_file(fs::path(EARLYLATE_SOURCE_DIR) / "data" / "sample.csv", source);
        original = test::readFile(source);
        test::RecordingHost reader;
        read = readVectorFile(source, "null", reader);
    }
    RunStatus run(CancellingHost& host) {
        host.values.set(Setting::TargetSpecies, "Invader");
        request.data = &read.data;
        request.species = {"SpA", "SpB", "SpC", "SpD", "Invader"};
        request.sourceFile = source;
        request.calculationDate = "12-05-2026";
        request.workDir = dir.path();
        return engine.run(request, host);
    }
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.path())) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    test::TempDir dir;
    test::ScopedCwd cwd;
    fs::path source;
    std::string original;
    ReadOutcome read;
    engine::RunRequest request;
    engine::Engine engine;
};

TEST(RunFigures, SummaryTellsRolesAndActualDates) {
    SampleRun sample;
    ASSERT_EQ(sample.read.erf, 0);
    CancellingHost host;
    host.values.set(Setting::TrainingRatio, "0.5");  // 6 of 12 stay: keyword regions hide first
    ASSERT_EQ(sample.run(host), RunStatus::Completed);
    const auto& s = sample.engine.lastSummary();
    ASSERT_EQ(s.regionNames.size(), 12u);
    EXPECT_EQ(s.target, 4);
    EXPECT_EQ(s.speciesNames.at(4), "Invader");
    int training = 0, validation = 0;
    for (RegionRole r : s.role) training += r == RegionRole::Training, validation += r == RegionRole::Validation;
    EXPECT_EQ(validation, 3) << "9 dated regions, 6 of them kept";
    EXPECT_EQ(training, 6);
    for (std::size_t k = 0; k < s.role.size(); ++k)
        if (s.role[k] == RegionRole::Validation) {
            EXPECT_TRUE(s.actualDate[k]) << k;
        }
    EXPECT_EQ(s.fits.at(4).nt + s.fits.at(4).nv,
              std::count_if(s.actualDate.begin(), s.actualDate.end(), [](const auto& d) { return d.has_value(); }));

    // Progress: every trial and the single pass reported as done of total.
    EXPECT_EQ(host.last[static_cast<int>(ProgressStage::Trials)], (std::pair<long long, long long>{100, 100}));
    EXPECT_EQ(host.last[static_cast<int>(ProgressStage::Passes)], (std::pair<long long, long long>{1, 1}));
}

TEST(RunFigures, CancelDuringTrialsKeepsTheLogAndWritesNothing) {
    SampleRun sample;
    CancellingHost host;
    host.values.set(Setting::AddPrediction, "1");
    host.cancelAtCaption = "reliability trial 50";
    EXPECT_EQ(sample.run(host), RunStatus::Cancelled);
    EXPECT_EQ(host.messages, std::vector<std::string>{"Missing value is considered to be Unknown"})
        << "a cancel is not an error";
    EXPECT_FALSE(host.log.empty());
    EXPECT_EQ(host.log.front(), "Supervised forecasting of the range expansion of alien species by early-late relationship");
    EXPECT_FALSE(host.busy) << "button restored";
    EXPECT_EQ(host.caption(Label::RunProgress), "Cancelled");
    EXPECT_EQ(test::readFile(sample.source), sample.original);
    EXPECT_TRUE(sample.engine.lastSummary().regno.empty());
    const auto trials = host.last[static_cast<int>(ProgressStage::Trials)];
    EXPECT_GT(trials.first, 0);
    EXPECT_LT(trials.first, 100);
}

TEST(RunFigures, CancelDuringWriteBackLeavesSourceAndNoScratchFiles) {
    // Count the yields of a whole run, then cancel at each of the last few: those fall in
    // the writing of the work file and the replacement of the source.
    long total = 0;
    {
        SampleRun sample;
        CancellingHost host;
        host.values.set(Setting::AddPrediction, "1");
        host.values.set(Setting::DoReliability, "0");
        ASSERT_EQ(sample.run(host), RunStatus::Completed);
        ASSERT_NE(test::readFile(sample.source), sample.original);
        total = host.yields;
    }
    for (long back = 1; back <= 20; back += 3) {
        SampleRun sample;
        const auto before = sample.files();
        CancellingHost host;
        host.values.set(Setting::AddPrediction, "1");
        host.values.set(Setting::DoReliability, "0");
        host.cancelAt = total - back;
        EXPECT_EQ(sample.run(host), RunStatus::Cancelled) << back;
        EXPECT_EQ(test::readFile(sample.source), sample.original) << back;
        EXPECT_EQ(sample.files(), before) << back;
    }
}

TEST(RunFigures, CancelledWeightExaminationLeavesNoPartialGrid) {
    SampleRun sample;
    CancellingHost host;
    host.values.set(Setting::ExamineWeight, "1");
    host.cancelAt = 2000;
    const auto before = sample.files();
    EXPECT_EQ(sample.run(host), RunStatus::Cancelled);
    EXPECT_EQ(sample.files(), before);
    const auto passes = host.last[static_cast<int>(ProgressStage::Passes)];
    EXPECT_EQ(passes.second, 40000);
    EXPECT_GT(passes.first, 0);
}

TEST(RunFigures, PowerStepCountMatchesTheLoop) {
    EXPECT_EQ(engine::powerStepCount(0, 20), 200) << "20 itself never comes";
    EXPECT_EQ(engine::powerStepCount(6.65, 6.65), 1);
    EXPECT_EQ(engine::powerStepCount(1, 0), 0);
}

}  // namespace
}  // namespace el
