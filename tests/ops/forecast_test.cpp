// The checks before a forecast, as every front end receives them, and the run they let go.

#include "ops/forecast.hpp"

#include <gtest/gtest.h>

#include "tests/engine/run_fixture.hpp"
#include "tests/support/recording_host.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::ops {
namespace {

// Five regions (one name twice), two training species and the target T; "None" has no date.
vec::VectorData regions() {
    return test::makeData({"A", "B", "T", "None"}, {"R1", "R2", "R3", "R3", "R5"},
                          {{"1990", "1985", "2010", "NotYetArrived"},
                           {"1992", "1986", "2011", "NotYetArrived"},
                           {"1995", "1990", "2013", "NotYetArrived"},
                           {"1993", "1988", "2012", "NotYetArrived"},
                           {"1997", "1991", "NotYetArrived", "NotYetArrived"}});
}

std::vector<DiagnosticKind> kindsOf(const Diagnostics& list) {
    std::vector<DiagnosticKind> kinds;
    for (const Diagnostic& d : list) kinds.push_back(d.kind);
    return kinds;
}

TEST(ForecastChecks, RefusalsComeFirstAndNameWhatStopsTheRun) {
    const vec::VectorData data = regions();
    ForecastRequest request{&data, {"A", "B", "T", "None"}, "v.csv", "", "null", "12-08-2026", "."};
    SettingValues settings;
    settings.set(Setting::TargetSpecies, "Tt");
    settings.set(Setting::SimOutput, "similarity");
    const Diagnostics found = checkForecast(request, settings, {.similarityLimit = 100});
    EXPECT_EQ(kindsOf(found),
              (std::vector<DiagnosticKind>{DiagnosticKind::UnknownTarget, DiagnosticKind::OversizedSimilarityOutput,
                                           DiagnosticKind::DuplicatedRegionNames, DiagnosticKind::UndatedSpecies}));
    ASSERT_NE(firstRefusal(found), nullptr);
    EXPECT_EQ(firstRefusal(found)->subject, "Tt");
    EXPECT_NE(firstRefusal(found)->text.find("\"T\""), std::string::npos) << firstRefusal(found)->text;  // did you mean
    EXPECT_GT(std::stoull(found[1].subject), 100u);
    EXPECT_EQ(found[1].text.rfind("the similarity output of 4 species", 0), 0u) << found[1].text;

    // Forced, under the limit or not written at all, the output is no refusal; nor is a target
    // when the species list is empty (the run only clears the log).
    EXPECT_EQ(kindsOf(checkForecast(request, settings, {.similarityLimit = 100, .force = true})).size(), 3u);
    settings.set(Setting::TargetSpecies, "T");
    EXPECT_EQ(firstRefusal(checkForecast(request, settings)), nullptr);
    settings.set(Setting::SimOutput, "none");
    EXPECT_EQ(firstRefusal(checkForecast(request, settings, {.similarityLimit = 0})), nullptr);
    request.species.clear();
    settings.set(Setting::TargetSpecies, "Nobody");
    EXPECT_EQ(firstRefusal(checkForecast(request, settings)), nullptr);
}

TEST(Forecast, TheRequestSaysWhetherThePredictionMayBeWrittenBack) {
    test::TempDir dir;
    const vec::VectorData data = regions();
    test::RecordingHost host;
    host.values.set(Setting::TargetSpecies, "T");
    host.values.set(Setting::AddPrediction, "1");
    host.values.set(Setting::DoReliability, "0");
    ForecastRequest request{&data,  {"A", "B", "T"}, dir / "records.csv", "a records table",
                            "null", "12-08-2026",    dir.path()};
    engine::Engine engine;
    const ForecastResult refused = forecast(engine, request, host);
    EXPECT_EQ(refused.run.status, engine::RunStatus::Stopped);
    ASSERT_FALSE(host.messages.empty());
    EXPECT_NE(host.messages.back().find("records.csv: it is a records table"), std::string::npos)
        << host.messages.back();
    EXPECT_GE(refused.seconds, 0.0);
}

TEST(Forecast, AFittedLineAgainstTheScoresIsWarnedOfAsNoSkill) {
    const vec::VectorData data =
        test::makeData({"A", "T"}, {"R1", "R2", "R3"}, {{"1990", "2000"}, {"1991", "2004"}, {"1992", "NotYetArrived"}});
    engine::RunResult result;
    result.status = engine::RunStatus::Completed;
    result.regionNames = {"R1", "R2", "R3"};
    result.regno = {0, 1, 2};
    result.score = {0.1, 0.2, 0.3};
    result.role = {engine::RegionRole::Training, engine::RegionRole::Training, engine::RegionRole::Other};
    result.speciesNames = {"A", "T"};
    result.target = 1;
    result.species.resize(2);
    result.species[1].fit.predictable = true;
    result.species[1].fit.rt = -0.25;
    result.species[1].predicted = {2004, 2000, 1998};
    const auto warning = skillWarning(data, result);
    ASSERT_TRUE(warning);
    EXPECT_EQ(warning->kind, DiagnosticKind::NoSkill);
    EXPECT_EQ(warning->subject, "T");
    EXPECT_NE(warning->text.find("(T, training r -0.25)"), std::string::npos) << warning->text;

    result.species[1].fit.rt = 0.5;
    EXPECT_FALSE(skillWarning(data, result));
    result.species[1].fit.rt = -0.25;
    result.examinedWeights = true;  // one corner of the grid, not a forecast
    EXPECT_FALSE(skillWarning(data, result));
}

}  // namespace
}  // namespace el::ops
