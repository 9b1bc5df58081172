#include "engine/run/engine.hpp"

#include <algorithm>
#include <filesystem>
#include <random>

#include <gtest/gtest.h>

#include "base/numtext.hpp"
#include "engine/report/run_weight_test_file.hpp"

#include "tests/engine/run_fixture.hpp"
#include "tests/support/recording_host.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::engine {
namespace {

using test::RecordingHost;
using test::TempDir;

// Five regions, two training species and the target T, every pair related.
vec::VectorData fiveRegions() {
    return test::makeData({"A", "B", "T"}, {"R1", "R2", "R3", "R4", "R5"},
                          {{"1990", "1985", "2010"},
                           {"1992", "1986", "2011"},
                           {"1995", "1990", "2013"},
                           {"1993", "1988", "2012"},
                           {"1997", "1991", "NotYetArrived"}});
}

class EngineRun : public ::testing::Test {
protected:
    RunRequest request(std::vector<std::string> species) {
        RunRequest r;
        r.data = &data;
        r.species = std::move(species);
        r.sourceFile = dir / "vector.csv";
        r.calculationDate = "12-05-2026";
        r.workDir = dir.path();
        return r;
    }
    RunStatus run(std::vector<std::string> species) {
        result = engine.run(request(std::move(species)), host);
        return result.status;
    }

    TempDir dir;
    vec::VectorData data = fiveRegions();
    RecordingHost host;
    Engine engine;
    RunResult result;
};

TEST_F(EngineRun, EmptySpeciesListOnlyClearsTheLog) {
    host.log = {"old"};
    EXPECT_EQ(run({}), RunStatus::NoSpecies);
    EXPECT_TRUE(host.log.empty());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(host.captionsOf(Label::RunProgress).empty());
}

TEST_F(EngineRun, CompletedRunShowsItsStateAndReturnsItsResult) {
    host.values.set(Setting::TargetSpecies, "T");
    host.values.set(Setting::DoReliability, "0");
    ASSERT_EQ(run({"A", "B", "T"}), RunStatus::Completed) << (host.messages.empty() ? "" : host.messages[0]);
    // The log's lines are checked in the golden logs; the file name is the source's own.
    EXPECT_EQ(host.log[2], "File name: vector.csv");
    EXPECT_EQ(host.shown(Label::RunProgress), "100% complete");
    EXPECT_EQ(result.regno, (std::vector<int>{0, 1, 2, 3, 4}));
    ASSERT_EQ(result.species.size(), 3u);
    EXPECT_EQ(result.species[2].predicted.size(), 5u);
    // The latest region scores highest.
    EXPECT_GT(result.score[4], result.score[0]);
}

TEST_F(EngineRun, ResultHoldsTheNumbersTheLogShows) {
    host.values.set(Setting::TargetSpecies, "T");
    host.values.set(Setting::IterationN, "5");
    host.values.set(Setting::TrainingRatio, "0.6");  // 3 of 5 stay: R5 (a keyword) and then R3 (latest) hide
    ASSERT_EQ(run({"A", "B", "T"}), RunStatus::Completed);
    const auto& r = result;
    ASSERT_TRUE(r.trials.ran);
    EXPECT_EQ(r.target, 2);
    EXPECT_EQ(r.role, (std::vector<RegionRole>{RegionRole::Training, RegionRole::Training, RegionRole::Validation,
                                               RegionRole::Training, RegionRole::Other}));
    EXPECT_EQ(r.actualText[4], "NotYetArrived");
    EXPECT_FALSE(r.actualDate[4]);
    EXPECT_EQ(r.actualDate[2], 2013.0);
    EXPECT_EQ(r.species[2].fit.nv, 1);

    const auto line = [&](const std::string& text) { return std::find(host.log.begin(), host.log.end(), text); };
    EXPECT_NE(line("B, " + strnum(r.weights.weight[1])), host.log.end());
    auto row = line("Region, Eigenvector, Average in fluctuation trials, Std in trials");
    ASSERT_NE(row, host.log.end());
    for (int p : r.order) {
        const int k = r.regno[static_cast<std::size_t>(p)];
        EXPECT_EQ(*++row, r.regionNames[static_cast<std::size_t>(k)] + ", " +
                              strnum(r.score[static_cast<std::size_t>(p)]) + ", " +
                              strnum(r.trials.eigenmean[static_cast<std::size_t>(k)]) + ", " +
                              strnum(r.trials.eigensd[static_cast<std::size_t>(k)]));
    }
    const SpeciesOutcome& target = r.species[2];
    ASSERT_TRUE(target.fit.predictable);
    EXPECT_NE(line("Average in STD of fluctuation tryal: " + strnum(target.scale * r.trials.vectorshift)), host.log.end());
    EXPECT_NE(line("R3, 未分布, " + strnum(target.predicted[2]) + ", 2013, " + strnum(target.scale * r.trials.eigensd[2])),
              host.log.end());
}

// Throws Cancelled at the first yield of the fluctuation trials.
class CancelAtTrials : public RecordingHost {
public:
    void caption(Label label, const std::string& text) override {
        RecordingHost::caption(label, text);
        trialsStarted = trialsStarted || text.rfind("reliability trial", 0) == 0;
    }
    void checkpoint() override {
        RecordingHost::checkpoint();
        if (trialsStarted) throw Cancelled{};
    }
    bool trialsStarted = false;
};

TEST_F(EngineRun, CancelledPassKeepsTheLinesWrittenBeforeIt) {
    CancelAtTrials cancelling;
    cancelling.values.set(Setting::TargetSpecies, "T");
    const RunResult cancelled = engine.run(request({"A", "B", "T"}), cancelling);
    EXPECT_EQ(cancelled.status, RunStatus::Cancelled);
    EXPECT_TRUE(cancelled.regno.empty() && cancelled.species.empty());
    EXPECT_EQ(cancelling.shown(Label::RunProgress), "Cancelled");
    // The power line and the weights came before the trials; nothing after them.
    ASSERT_FALSE(cancelling.log.empty());
    EXPECT_EQ(cancelling.log.back(), "T,  0");
    EXPECT_NE(std::find(cancelling.log.begin(), cancelling.log.end(), "Target species T"), cancelling.log.end());
}

// Keeps only the latest caption of each label: an examine-weight run shows several
// hundred thousand of them.
class QuietHost : public RecordingHost {
public:
    void caption(Label label, const std::string& text) override {
        captions[static_cast<int>(label)] = text;
        if (label == Label::RunProgress && text.rfind("Pass", 0) == 0) lastPassCaption = text;
    }
    // What the run progress label showed at the yields that end the power passes.
    void checkpoint() override { if (captions[static_cast<int>(Label::RunProgress)].rfind("Pass", 0) == 0) ++passYields; }
    std::string lastPassCaption;
    int passYields = 0;
};

TEST_F(EngineRun, InterlocksSwitchOptionsOffInOrder) {
    host.values.set(Setting::ExcludeLimited, "1");
    ASSERT_EQ(run({"A", "B"}), RunStatus::Completed);
    EXPECT_EQ(host.values.get(Setting::ExcludeLimited), "0");
}

// Adding 0.1 to a power of 1e16 leaves it as it is: still one pass.
TEST_F(EngineRun, ReportRunMakesOnePassOfItsPowersHoweverLarge) {
    host.values.set(Setting::DoReliability, "0");
    host.values.set(Setting::WeightPower, "1e16");
    host.values.set(Setting::SampleN, "-1e16");
    run({"A", "B"});
    const auto powerLines = std::count_if(host.log.begin(), host.log.end(), [](const std::string& line) {
        return line.starts_with("Power in weight calculation for similarity:");
    });
    EXPECT_EQ(powerLines, 1);
}

TEST_F(EngineRun, ExamineWeightRunWritesOneLinePerPowerPair) {
    QuietHost examine;
    examine.values.set(Setting::ExamineWeight, "1");
    examine.values.set(Setting::ExcludeLimited, "1");
    examine.values.set(Setting::ExcludingLimit, "0");
    examine.values.set(Setting::AddPrediction, "1");
    examine.values.set(Setting::SimOutput, "similarity");
    examine.values.set(Setting::ElMatrixOutput, "detailed");
    examine.values.set(Setting::TargetSpecies, "T");
    const RunResult examined = engine.run(request({"A", "B", "T"}), examine);
    ASSERT_EQ(examined.status, RunStatus::Completed);
    EXPECT_EQ(examine.values.get(Setting::DoReliability), "0");
    EXPECT_EQ(examine.values.get(Setting::ExcludeLimited), "1");
    EXPECT_EQ(examine.values.get(Setting::AddPrediction), "0");
    EXPECT_EQ(examine.values.get(Setting::SimOutput), "none");
    EXPECT_EQ(examine.values.get(Setting::ElMatrixOutput), "none");
    // Only the header in the log; one summary line per power pair in the weight-test file.
    EXPECT_EQ(examine.log.size(), 5u);
    const std::string file = test::readFile(dir / "WeightTestT.csv");
    EXPECT_EQ(file.rfind("File name: vector.csv  Date of calculation: 12-05-2026\r\n", 0), 0u);
    std::size_t lines = 0;
    for (std::size_t at = file.find("\r\n"); at != std::string::npos; at = file.find("\r\n", at + 2)) ++lines;
    EXPECT_EQ(lines, 1u + 200 * 200);
    EXPECT_NE(file.find(",T, 0, 0,"), std::string::npos);
    EXPECT_NE(file.find(",T, 19.9, 19.9,"), std::string::npos);
    EXPECT_EQ(file.find(",T, 20,"), std::string::npos);
    EXPECT_EQ(examine.shown(Label::RunProgress), "100% complete");
    EXPECT_EQ(examine.shown(Label::Status).rfind("Species, power for similarity,", 0), 0u);
    // Every pass shows its number on the progress label when it yields with its summary.
    EXPECT_EQ(examine.lastPassCaption, "Pass 40000 of 40000");
    EXPECT_EQ(examine.passYields, 200 * 200);

    // The result's grid holds the numbers of the file, pass by pass.
    EXPECT_TRUE(examined.examinedWeights);
    ASSERT_EQ(examined.weightGrid.size(), 40000u);
    std::size_t at = file.find("\r\n") + 2;
    for (const WeightGridCell& cell : examined.weightGrid) {
        const std::size_t end = file.find("\r\n", at);
        const std::string line = file.substr(at, end - at);
        ASSERT_TRUE(line.ends_with(",T," + strnum(cell.p1) + "," + strnum(cell.p2) + "," + strnum(cell.rt) + "," +
                                   strnum(cell.rv) + "," + strnum(cell.rw)))
            << line;
        at = end + 2;
    }
}

TEST_F(EngineRun, FatalInputErrorStopsWithItsMessageAndWritesNoFile) {
    data.objects[3].values[1] = "arrived";
    host.values.set(Setting::ExamineWeight, "1");
    host.values.set(Setting::TargetSpecies, "T");
    EXPECT_EQ(run({"A", "B", "T"}), RunStatus::Stopped);
    EXPECT_EQ(
        host.messages,
        (std::vector<std::string>{"Region R4, species B: the value \"arrived\" is neither a keyword nor a number"}));
    EXPECT_EQ(host.shown(Label::RunProgress), " 0 %");
    EXPECT_EQ(host.log.size(), 5u);
    EXPECT_FALSE(std::filesystem::exists(dir / "WeightTestT.csv"));
    EXPECT_TRUE(result.score.empty());
}

// The weight power's message is checked through the batch runner.
TEST_F(EngineRun, SettingTextsThatAreNotNumbersAreRefusedByName) {
    host.values.set(Setting::IterationN, "0.4");
    EXPECT_EQ(run({"A", "B"}), RunStatus::Stopped);
    EXPECT_NE(host.messages.back().find("\"0.4\""), std::string::npos);

    host.values.set(Setting::IterationN, "100");
    host.values.set(Setting::TargetSpecies, "T");
    host.values.set(Setting::TrainingRatio, "most");
    EXPECT_EQ(run({"A", "B", "T"}), RunStatus::Stopped);
    EXPECT_EQ(host.messages.back(), "The training ratio text \"most\" is not a number");
}

TEST_F(EngineRun, TargetNameWithPathSeparatorIsRefusedForTheWeightTestFile) {
    data.valname[2] = "../T";
    host.values.set(Setting::ExamineWeight, "1");
    host.values.set(Setting::TargetSpecies, "../T");
    EXPECT_EQ(run({"A", "B", "../T"}), RunStatus::Stopped);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(dir.path().parent_path() / "T.csv"));
    EXPECT_FALSE(std::filesystem::exists(dir / "WeightTest../T.csv"));
}

TEST_F(EngineRun, RegionsWithoutAnyRelationStopTheRun) {
    data = test::makeData({"A"}, {"R1", "R2", "R3"}, {{"2000"}, {"2001"}, {"Unknown"}});
    host.values.set(Setting::DoReliability, "0");
    EXPECT_EQ(run({"A"}), RunStatus::Stopped);
    EXPECT_EQ(host.messages, (std::vector<std::string>{"There are less-connective regions"}));
    // The log ends with what the pass wrote before the test: the power line.
    ASSERT_GE(host.log.size(), 2u);
    EXPECT_EQ(host.log[host.log.size() - 2].rfind("Power in weight calculation for similarity:", 0), 0u);
    EXPECT_EQ(result.status, RunStatus::Stopped);
    EXPECT_TRUE(result.score.empty());
}

TEST_F(EngineRun, ExclusionMayLeaveNoRegion) {
    host.values.set(Setting::DoReliability, "0");
    host.values.set(Setting::ExcludeLimited, "1");
    host.values.set(Setting::ExcludingLimit, "100");
    EXPECT_EQ(run({"A", "B"}), RunStatus::Stopped);
    EXPECT_EQ(host.messages.back(), "No region is left to analyse");
    EXPECT_EQ(host.log.back(), "Number of regions finally used: 0");
}

TEST_F(EngineRun, ReportBlocksUseRegionNumbersNotNames) {
    // Two regions share a name; each keeps its own date in the species table.
    data.objects[1].name = "R1";
    host.values.set(Setting::DoReliability, "0");
    ASSERT_EQ(run({"A", "B"}), RunStatus::Completed);
    int rowsOfR1 = 0;
    bool sawFirst = false, sawSecond = false;
    for (const auto& line : host.log) {
        if (line.rfind("R1, 1990,", 0) == 0) sawFirst = true;
        if (line.rfind("R1, 1992,", 0) == 0) sawSecond = true;
        if (line.rfind("R1, ", 0) == 0) ++rowsOfR1;
    }
    EXPECT_TRUE(sawFirst);
    EXPECT_TRUE(sawSecond);
    EXPECT_EQ(rowsOfR1, 2 * 2 + 2);  // two species blocks and the score table
}

// ---- one thread, several, and the plain computation -------------------------------------

// Two groups of regions that only species A relates to each other. A orders every pair the
// other way round from the target, so its similarity is 0: with p1 = 0 it still weighs
// (0^0 = 1) and the regions are connected; from p1 = 0.1 on it weighs 0 and the groups split.
vec::VectorData twoGroups() {
    return test::makeData({"A", "B", "C", "T"}, {"R1", "R2", "R3", "R4", "R5", "R6"},
                          {{"2006", "2001", "Unknown", "2001"},
                           {"2005", "2002", "Unknown", "2002"},
                           {"2004", "2003", "Unknown", "2003"},
                           {"2003", "Unknown", "2004", "2004"},
                           {"2002", "Unknown", "2005", "2005"},
                           {"2001", "Unknown", "2006", "2006"}});
}

// Everything a run shows, and the weight-test file it leaves.
struct RunTrace {
    RunResult result;
    std::vector<std::string> log;
    std::vector<std::string> messages;
    std::string weightTest;
};

class ThreadCounts : public EngineRun {
protected:
    // One run on a fresh engine, or on `reused` to continue its generator.
    RunTrace trace(const std::string& threads, bool plain, const std::vector<std::pair<Setting, std::string>>& settings,
                   Engine* reused = nullptr) {
        QuietHost quiet;
        for (const auto& [id, value] : settings) quiet.values.set(id, value);
        quiet.values.set(Setting::Threads, threads);
        RunRequest r = request(species);
        r.plain = plain;
        Engine fresh;
        RunTrace out{(reused != nullptr ? *reused : fresh).run(r, quiet), quiet.log, quiet.messages, {}};
        const auto file = dir / "WeightTestT.csv";
        if (std::filesystem::exists(file)) out.weightTest = test::readFile(file);
        std::filesystem::remove(file);
        return out;
    }
    static void expectSame(const RunTrace& got, const RunTrace& want, const std::string& what) {
        EXPECT_EQ(got.result.status, want.result.status) << what;
        EXPECT_EQ(got.log, want.log) << what;
        EXPECT_EQ(got.messages, want.messages) << what;
        EXPECT_EQ(got.weightTest, want.weightTest) << what;
        EXPECT_EQ(got.result.score, want.result.score) << what;
        EXPECT_EQ(got.result.trials.eigenmean, want.result.trials.eigenmean) << what;
        EXPECT_EQ(got.result.trials.eigensd, want.result.trials.eigensd) << what;
        EXPECT_EQ(got.result.trials.vectorshift, want.result.trials.vectorshift) << what;
        ASSERT_EQ(got.result.weightGrid.size(), want.result.weightGrid.size()) << what;
        for (std::size_t k = 0; k < got.result.weightGrid.size(); ++k) {
            const WeightGridCell& a = got.result.weightGrid[k];
            const WeightGridCell& b = want.result.weightGrid[k];
            ASSERT_TRUE(a.p1 == b.p1 && a.p2 == b.p2 && a.rt == b.rt && a.rv == b.rv && a.rw == b.rw) << what << " " << k;
        }
    }
    std::vector<std::string> species{"A", "B", "T"};
};

TEST_F(ThreadCounts, ExamineWeightRunIsTheSameOnOneTwoAndEightThreadsAsThePlainComputation) {
    const std::vector<std::pair<Setting, std::string>> settings{
        {Setting::ExamineWeight, "1"}, {Setting::TargetSpecies, "T"}, {Setting::MissingMode, "row"}};
    const RunTrace plain = trace("1", true, settings);
    ASSERT_EQ(plain.result.status, RunStatus::Completed);
    ASSERT_EQ(plain.result.weightGrid.size(), 40000u);
    for (const char* threads : {"1", "2", "8"}) expectSame(trace(threads, false, settings), plain, threads);
}

TEST_F(ThreadCounts, TrialsAreTheSameOnOneTwoAndEightThreadsAsThePlainComputation) {
    const std::vector<std::pair<Setting, std::string>> settings{{Setting::TargetSpecies, "T"},
                                                                {Setting::IterationN, "23"}};
    Engine plainEngine, parallelEngine;
    const RunTrace plain = trace("1", true, settings, &plainEngine);
    ASSERT_EQ(plain.result.status, RunStatus::Completed);
    ASSERT_TRUE(plain.result.trials.ran);
    for (const char* threads : {"1", "2", "8"}) expectSame(trace(threads, false, settings), plain, threads);
    // The second run goes on with the generator where the first left it, on any thread count.
    expectSame(trace("8", false, settings, &parallelEngine), plain, "first");
    expectSame(trace("2", false, settings, &parallelEngine), trace("1", true, settings, &plainEngine), "second");
}

TEST_F(ThreadCounts, APassThatStopsTheRunStopsItOnEveryThreadCountAfterTheSameLines) {
    data = twoGroups();
    species = {"A", "B", "C", "T"};
    const std::vector<std::pair<Setting, std::string>> settings{{Setting::ExamineWeight, "1"},
                                                                {Setting::TargetSpecies, "T"}};
    const RunTrace plain = trace("1", true, settings);
    EXPECT_EQ(plain.result.status, RunStatus::Stopped);
    EXPECT_EQ(plain.messages, (std::vector<std::string>{"There are less-connective regions"}));
    // The header and the 200 passes of p1 = 0; the pass of p1 = 0.1, p2 = 0 stopped the run.
    EXPECT_EQ(std::count(plain.weightTest.begin(), plain.weightTest.end(), '\n'), 201);
    EXPECT_NE(plain.weightTest.find(",T, 0, 19.9,"), std::string::npos);
    for (const char* threads : {"1", "2", "8"}) expectSame(trace(threads, false, settings), plain, threads);

    // A pass that throws stops the run with its message alone, whoever computed it.
    const std::vector<std::pair<Setting, std::string>> noneLeft{{Setting::ExamineWeight, "1"},
                                                                {Setting::TargetSpecies, "T"},
                                                                {Setting::ExcludeLimited, "1"},
                                                                {Setting::ExcludingLimit, "1000"}};
    const RunTrace plainError = trace("1", true, noneLeft);
    EXPECT_EQ(plainError.messages, (std::vector<std::string>{"No region is left to analyse"}));
    for (const char* threads : {"2", "8"}) expectSame(trace(threads, false, noneLeft), plainError, threads);
}

// Random first records: mostly dates, some regions not reached, unknown or reached without a
// date; the last species is the target T.
vec::VectorData randomRecords(int regions, int species, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::string> names, regionNames;
    for (int s = 0; s + 1 < species; ++s) names.push_back("S" + std::to_string(s));
    names.push_back("T");
    std::vector<std::vector<std::string>> values(static_cast<std::size_t>(regions));
    for (int i = 0; i < regions; ++i) {
        regionNames.push_back("R" + std::to_string(i));
        for (int s = 0; s < species; ++s) {
            const auto roll = random() % 20;
            values[static_cast<std::size_t>(i)].push_back(roll < 13   ? std::to_string(1950 + random() % 40)
                                                          : roll < 17 ? "NotYetArrived"
                                                          : roll < 19 ? "Unknown"
                                                                      : "Arrived");
        }
    }
    return test::makeData(names, regionNames, values);
}

// The comparison of species counted as the passes read it (the target's column, the
// diagonal, the whole matrix only for the similarity output) against the whole matrix of the
// plain reading: the same run on every shape and setting, on one thread and on three.
TEST_F(ThreadCounts, LazySpeciesComparisonsGiveThePlainRunOnEveryShapeAndSetting) {
    using Settings = std::vector<std::pair<Setting, std::string>>;
    const std::vector<Settings> cases{
        {{Setting::TargetSpecies, "T"}, {Setting::IterationN, "4"}},
        {{Setting::TargetSpecies, "T"},
         {Setting::DoReliability, "0"},
         {Setting::SimOutput, "similarity"},
         {Setting::ExcludeLimited, "1"},
         {Setting::ExcludingLimit, "40"}},
        {{Setting::TargetSpecies, "T"}, {Setting::AutoWeight, "1"}, {Setting::DoReliability, "0"}},
        {{Setting::AutoWeight, "1"}, {Setting::DoReliability, "0"}, {Setting::SimOutput, "distance"}},
        {{Setting::DoReliability, "0"}, {Setting::ExcludeLimited, "1"}},
        {{Setting::TargetSpecies, "T"}, {Setting::ExamineWeight, "1"}, {Setting::WeightPower, "2"}},
    };
    int completed = 0;
    for (const auto& [regions, count] : {std::pair{9, 4}, std::pair{16, 7}, std::pair{31, 12}}) {
        data = randomRecords(regions, count, static_cast<unsigned>(regions));
        species = {};
        for (int s = 0; s < data.valn(); ++s) species.push_back(data.valname[static_cast<std::size_t>(s)]);
        for (std::size_t c = 0; c < cases.size(); ++c) {
            if (c == 5 && regions > 9) continue;  // the grid's 40,000 passes once are enough
            const RunTrace plain = trace("1", true, cases[c]);
            completed += plain.result.status == RunStatus::Completed;
            const std::string what = std::to_string(regions) + " regions, case " + std::to_string(c);
            for (const char* threads : {"1", "3"})
                expectSame(trace(threads, false, cases[c]), plain, what + " on " + threads);
        }
    }
    EXPECT_GE(completed, 12) << "most runs should get to the end";
}

// Throws Cancelled at the yield of the given pass's weight-test line.
class CancelAtPass : public QuietHost {
public:
    explicit CancelAtPass(std::string caption) : stopAt_(std::move(caption)) {}
    void checkpoint() override {
        if (captions[static_cast<int>(Label::RunProgress)] == stopAt_) throw Cancelled{};
    }

private:
    std::string stopAt_;
};

// A cancelled examine-weight run leaves the weight-test file of the run before it as it was,
// and no new grid beside it; a run that ends puts its grid in place.
TEST_F(ThreadCounts, CancelStopsThePassesAndKeepsThePreviousWeightTestFile) {
    const auto file = dir / "WeightTestT.csv";
    // No new grid beside it: the only file named after it is the file itself.
    const auto gridsBeside = [this] {
        const auto names = test::filesIn(dir.path());
        return std::count_if(names.begin(), names.end(), [](const std::string& name) {
            return name.find(WeightTestFile::fileName("T")) != std::string::npos;
        });
    };
    for (const char* threads : {"1", "2", "8"}) {
        test::writeFile(file, "earlier run\r\n");
        CancelAtPass cancelling("Pass 300 of 40000");
        cancelling.values.set(Setting::ExamineWeight, "1");
        cancelling.values.set(Setting::TargetSpecies, "T");
        cancelling.values.set(Setting::Threads, threads);
        const RunResult cancelled = engine.run(request({"A", "B", "T"}), cancelling);
        EXPECT_EQ(cancelled.status, RunStatus::Cancelled) << threads;
        EXPECT_EQ(cancelling.shown(Label::RunProgress), "Cancelled");
        EXPECT_EQ(test::readFile(file), "earlier run\r\n") << threads;
        EXPECT_EQ(gridsBeside(), 1) << threads;
    }
    CancelAtPass never("no such caption");
    never.values.set(Setting::ExamineWeight, "1");
    never.values.set(Setting::TargetSpecies, "T");
    never.values.set(Setting::Threads, "2");
    ASSERT_EQ(engine.run(request({"A", "B", "T"}), never).status, RunStatus::Completed);
    const std::string grid = test::readFile(file);
    EXPECT_EQ(std::count(grid.begin(), grid.end(), '\n'), 40001) << "the header and one line per pass";
    EXPECT_EQ(gridsBeside(), 1);
}

TEST_F(ThreadCounts, AThreadCountThatIsNoWholeNumberStopsTheRun) {
    host.values.set(Setting::Threads, "two");
    EXPECT_EQ(run({"A", "B"}), RunStatus::Stopped);
    EXPECT_EQ(host.messages.back(), "The threads text \"two\" is not a whole number from 1 to 256");

    // An examine-weight run stops before it empties the weight-test file of an earlier run.
    test::writeFile(dir / "WeightTestT.csv", "earlier run\r\n");
    host.values.set(Setting::ExamineWeight, "1");
    host.values.set(Setting::TargetSpecies, "T");
    host.values.set(Setting::Threads, "0");
    EXPECT_EQ(run({"A", "B", "T"}), RunStatus::Stopped);
    EXPECT_EQ(host.messages.back(), "The threads text \"0\" is not a whole number from 1 to 256");
    EXPECT_EQ(test::readFile(dir / "WeightTestT.csv"), "earlier run\r\n");
}

}  // namespace
}  // namespace el::engine
