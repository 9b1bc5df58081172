// What a run leaves for the figures and its progress counts; runs cancelled at a yield of
// the write-back or of the weight examination leave every file as it was.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "engine/run/engine.hpp"
#include "tests/support/recording_host.hpp"
#include "tests/support/sample_file.hpp"
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
    void checkpoint() override {
        test::RecordingHost::checkpoint();
        if (cancelAt > 0 && yields == cancelAt) throw Cancelled{};
    }
    void progress(ProgressStage stage, long long done, long long total) override {
        last[static_cast<int>(stage)] = {done, total};
    }
    long cancelAt = 0;
    std::pair<long long, long long> last[3]{};
};

struct SampleRun {
    SampleRun() {
        source = test::copySample(dir.path());
        original = test::readFile(source);
        test::RecordingHost reader;
        read = vec::readVectorFile(source, "null", reader, dir.path());
    }
    RunStatus run(CancellingHost& host) {
        host.values.set(Setting::TargetSpecies, "Invader");
        request.data = &read.data;
        request.species = {"SpA", "SpB", "SpC", "SpD", "Invader"};
        request.sourceFile = source;
        request.calculationDate = "12-05-2026";
        request.workDir = dir.path();
        result = engine.run(request, host);
        return result.status;
    }
    std::vector<std::string> files() const { return test::filesIn(dir.path()); }
    test::TempDir dir;
    fs::path source;
    std::string original;
    vec::ReadOutcome read;
    engine::RunRequest request;
    engine::Engine engine;
    engine::RunResult result;
};

TEST(RunFigures, SummaryTellsRolesAndProgressCountsEveryStep) {
    SampleRun sample;
    ASSERT_EQ(sample.read.erf, 0);
    CancellingHost host;
    host.values.set(Setting::TrainingRatio, "0.5");  // 6 of 12 stay: keyword regions hide first
    ASSERT_EQ(sample.run(host), RunStatus::Completed);
    const auto& s = sample.result;
    EXPECT_EQ(s.target, 4);
    EXPECT_EQ(std::count(s.role.begin(), s.role.end(), RegionRole::Training), 6);
    EXPECT_EQ(std::count(s.role.begin(), s.role.end(), RegionRole::Validation), 3) << "9 dated regions, 6 kept";
    EXPECT_EQ(host.last[static_cast<int>(ProgressStage::Trials)], (std::pair<long long, long long>{100, 100}));
    EXPECT_EQ(host.last[static_cast<int>(ProgressStage::Passes)], (std::pair<long long, long long>{1, 1}));
}

TEST(RunFigures, CancelDuringWriteBackLeavesSourceAndNoScratchFiles) {
    // Count the yields of a whole run, then cancel at each of the last few: those fall in
    // the writing of the work file and the replacement of the source.
    const auto writeBackHost = [](long cancelAt) {
        CancellingHost host;
        host.values.set(Setting::AddPrediction, "1");
        host.values.set(Setting::DoReliability, "0");
        host.cancelAt = cancelAt;
        return host;
    };
    SampleRun whole;
    CancellingHost counting = writeBackHost(0);
    ASSERT_EQ(whole.run(counting), RunStatus::Completed);
    ASSERT_NE(test::readFile(whole.source), whole.original);
    for (long back = 1; back <= 20; back += 3) {
        SampleRun sample;
        const auto before = sample.files();
        CancellingHost host = writeBackHost(counting.yields - back);
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

}  // namespace
}  // namespace el
