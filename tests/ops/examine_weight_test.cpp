// The examine-weight run as every front end asks for it: the refusal of a weight plot without
// one, after the forecast's own checks, and the run over the grid that writes nothing back.

#include "ops/examine_weight.hpp"

#include <gtest/gtest.h>

#include "tests/engine/run_fixture.hpp"
#include "tests/support/recording_host.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::ops {
namespace {

vec::VectorData regions() {
    return test::makeData({"A", "B", "T"}, {"R1", "R2", "R3", "R4", "R5"},
                          {{"1990", "1985", "2010"},
                           {"1992", "1986", "2011"},
                           {"1995", "1990", "2013"},
                           {"1993", "1988", "2012"},
                           {"1997", "1991", "NotYetArrived"}});
}

TEST(ExamineWeightChecks, AWeightPlotNeedsTheGridAndComesAfterTheForecastsRefusals) {
    SettingValues settings;
    EXPECT_FALSE(weightPlotRefusal("", settings));
    const auto refused = weightPlotRefusal("grid.png", settings);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->kind, DiagnosticKind::WeightPlotWithoutGrid);
    EXPECT_EQ(refused->subject, "grid.png");
    settings.set(Setting::ExamineWeight, "1");
    EXPECT_FALSE(weightPlotRefusal("grid.png", settings));

    const vec::VectorData data = regions();
    const ForecastRequest request{&data, {"A", "B", "T"}, "v.csv", "", "null", "12-08-2026", "."};
    settings.set(Setting::ExamineWeight, "0");
    settings.set(Setting::TargetSpecies, "Tt");
    const Diagnostics found = checkExamineWeight(request, settings, "grid.png");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].kind, DiagnosticKind::UnknownTarget);
    EXPECT_EQ(found[1], *refused);
}

TEST(ExamineWeight, RunsTheGridAndWritesTheWeightTestFileNotTheSource) {
    test::TempDir dir;
    const vec::VectorData data = regions();
    test::writeFile(dir / "v.csv", "untouched");
    test::RecordingHost host;
    host.values.set(Setting::TargetSpecies, "T");
    host.values.set(Setting::AddPrediction, "1");
    host.values.set(Setting::DoReliability, "0");
    const ForecastRequest request{&data, {"A", "B", "T"}, dir / "v.csv", "", "null", "12-08-2026", dir.path()};
    engine::Engine engine;
    const ForecastResult made = examineWeight(engine, request, host);
    EXPECT_EQ(made.run.status, engine::RunStatus::Completed);
    EXPECT_TRUE(made.run.examinedWeights);
    EXPECT_TRUE(examinesWeight(host));
    EXPECT_EQ(test::readFile(dir / "v.csv"), "untouched");
    EXPECT_TRUE(std::filesystem::exists(dir / "WeightTestT.csv"));
}

}  // namespace
}  // namespace el::ops
