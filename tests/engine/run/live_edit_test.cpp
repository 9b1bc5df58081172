// Settings edited while an examine-weight run goes on: each edit reaches the same pass
// whether the passes run one after the other, on the plain path or on any number of
// workers, including the fluctuation trials switched on midway, whose passes then draw from
// the run's one generator in pass order.

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "engine/pass/pass_settings.hpp"
#include "engine/run/engine.hpp"

#include "tests/engine/run_fixture.hpp"
#include "tests/support/recording_host.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::engine {
namespace {

using Edits = std::multimap<long long, std::pair<Setting, std::string>>;

// Applies its edits when the run tells that a given number of passes is done, as a user
// editing the controls at that moment would; keeps no caption history (40000 passes).
class EditingHost : public test::RecordingHost {
public:
    explicit EditingHost(Edits edits) : edits_(std::move(edits)) {}
    void caption(Label label, const std::string& text) override { captions[static_cast<int>(label)] = text; }
    void progress(ProgressStage stage, long long done, long long /*total*/) override {
        if (stage != ProgressStage::Passes) return;
        const auto [first, last] = edits_.equal_range(done);
        for (auto it = first; it != last; ++it) values.set(it->second.first, it->second.second);
    }

private:
    Edits edits_;
};

struct Trace {
    RunResult result;
    std::vector<std::string> log;
    std::string weightTest;
    TrialSummary after;  // the trials of a report run made next on the same engine
};

class LiveEdits : public ::testing::Test {
protected:
    Trace trace(const std::string& threads, bool plain, const Edits& edits) {
        EditingHost host(edits);
        host.values.set(Setting::ExamineWeight, "1");
        host.values.set(Setting::TargetSpecies, "T");
        host.values.set(Setting::Threads, threads);
        Engine engine;
        Trace out{engine.run(request(plain), host), host.log, test::readFile(dir / "WeightTestT.csv"), {}};
        std::filesystem::remove(dir / "WeightTestT.csv");
        out.after = trialsNext(engine);
        return out;
    }
    TrialSummary trialsNext(Engine& engine) {
        test::RecordingHost host;
        host.values.set(Setting::TargetSpecies, "T");
        host.values.set(Setting::IterationN, "7");
        return engine.run(request(true), host).trials;
    }
    RunRequest request(bool plain) {
        RunRequest r;
        r.data = &data;
        r.species = {"A", "B", "T"};
        r.sourceFile = dir / "vector.csv";
        r.calculationDate = "12-05-2026";
        r.workDir = dir.path();
        r.plain = plain;
        return r;
    }
    static void expectSame(const Trace& got, const Trace& want, const std::string& what) {
        EXPECT_EQ(got.result.status, want.result.status) << what;
        EXPECT_EQ(got.log, want.log) << what;
        EXPECT_EQ(got.weightTest, want.weightTest) << what;
        EXPECT_EQ(got.result.score, want.result.score) << what;
        EXPECT_EQ(got.result.trials.eigenmean, want.result.trials.eigenmean) << what;
        EXPECT_EQ(got.result.trials.eigensd, want.result.trials.eigensd) << what;
        EXPECT_EQ(got.result.trials.vectorshift, want.result.trials.vectorshift) << what;
        EXPECT_EQ(got.after.eigenmean, want.after.eigenmean) << what;
        EXPECT_EQ(got.after.eigensd, want.after.eigensd) << what;
    }

    test::TempDir dir;
    vec::VectorData data = test::makeData({"A", "B", "T"}, {"R1", "R2", "R3", "R4", "R5"},
                                          {{"1990", "1985", "2010"},
                                           {"1992", "1986", "2011"},
                                           {"1995", "1990", "2013"},
                                           {"1993", "1988", "2012"},
                                           {"1997", "1991", "NotYetArrived"}});
};

// The trials switched on once 39900 passes are done and the similarity matrices once 39930
// are reach the passes handed out then, kPassLead passes on: the last passes run trials (drawing from
// the run's one generator in pass order) and the last few list the matrices, with the serial
// numbers on every thread count.
TEST_F(LiveEdits, ReliabilitySwitchedOnDuringAnExamineWeightRunGivesTheSerialNumbersOnAnyThreadCount) {
    const Edits edits{{39900, {Setting::DoReliability, "1"}},
                      {39900, {Setting::IterationN, "5"}},
                      {39930, {Setting::SimOutput, "similarity"}}};
    const Trace serial = trace("1", true, edits);
    ASSERT_EQ(serial.result.status, RunStatus::Completed);
    ASSERT_TRUE(serial.result.trials.ran) << "the last passes ran trials";
    const auto listed =
        std::count(serial.log.begin(), serial.log.end(), "Similarity: number of same value/number of all elements");
    // Told after pass 39929 (0-based), the edit reaches pass 39929 + kPassLead and every later one.
    EXPECT_EQ(listed, 40000 - (39929 + kPassLead));

    for (const char* threads : {"1", "2", "8"}) expectSame(trace(threads, false, edits), serial, threads);
}

}  // namespace
}  // namespace el::engine
