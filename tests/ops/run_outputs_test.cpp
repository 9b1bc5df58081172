// The outputs of a completed run as one operation: what could not be made comes back as
// diagnostics naming the file or case at fault, in the order the outputs are made, and what
// was made is whole.

#include "ops/run_outputs.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/run/engine.hpp"
#include "ops/forecast.hpp"
#include "tests/engine/run_fixture.hpp"
#include "tests/support/recording_host.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::ops {
namespace {

vec::VectorData regions() {
    return test::makeData({"A", "B", "T"}, {"R1", "R2", "R3", "R4", "R5", "R6"},
                          {{"1990", "1985", "2010"},
                           {"1992", "1986", "2011"},
                           {"1995", "1990", "2013"},
                           {"1993", "1988", "2012"},
                           {"1997", "1991", "NotYetArrived"},
                           {"1999", "1994", "NotYetArrived"}});
}

struct Completed {
    vec::VectorData data = regions();
    test::RecordingHost host;
    engine::RunResult result;

    explicit Completed(const std::filesystem::path& folder) {
        host.values.set(Setting::TargetSpecies, "T");
        host.values.set(Setting::DoReliability, "0");
        const ForecastRequest request{&data, {"A", "B", "T"}, folder / "v.csv", "", "null", "12-08-2026", folder};
        engine::Engine engine;
        result = forecast(engine, request, host).run;
    }
    AfterRunContext context() const {
        return {data, result, host.values, host, "null", "v.csv", std::nullopt, "12-08-2026", 0.0};
    }
    CompletedRun completed() const { return {data, result, host, "v.csv", "12-08-2026"}; }
};

TEST(WriteOutputs, WhatCannotBeMadeIsNamedInTheOrderTheOutputsAreMade) {
    test::TempDir dir;
    Completed run(dir.path());
    ASSERT_EQ(run.result.status, engine::RunStatus::Completed);
    const std::string missing = (dir / "none").string();
    AfterRunRequest request;
    request.predictionsFile = missing + "/p.csv";
    request.summaryFile = (dir / "summary.json").string();
    request.hindcastTable = missing + "/h.csv";
    FigureRequest figures;
    figures.reportFile = missing + "/r.pdf";
    const AfterRunOutputs made = writeOutputs(request, run.context(), figures, run.completed(), run.host, run.host);
    ASSERT_EQ(made.failures.size(), 2u);  // no hindcast was asked: no hindcast table to fail
    EXPECT_EQ(made.failures[0].subject, request.predictionsFile);
    EXPECT_EQ(made.failures[1].subject, figures.reportFile);
    for (const Diagnostic& failure : made.failures) {
        EXPECT_EQ(failure.kind, DiagnosticKind::OutputNotMade);
        EXPECT_EQ(failure.severity, Severity::Refusal);
        EXPECT_NE(failure.text.find(failure.subject), std::string::npos) << failure.text;
    }
    EXPECT_TRUE(std::filesystem::exists(dir / "summary.json"));  // one failure does not stop the rest
    EXPECT_TRUE(made.notices.empty());
}

TEST(WriteOutputs, AHindcastThatStopsNamesItsYearAndTheRiskSaysWhyItIsMissing) {
    test::TempDir dir;
    Completed run(dir.path());
    AfterRunRequest request;
    request.hindcastYears = {1980, 1995};  // nothing is recorded by 1980: that hindcast stops
    request.risk.horizon = 10;
    FigureRequest figures;
    figures.reportFile = (dir / "r.html").string();
    const std::size_t logged = run.host.log.size();
    const AfterRunOutputs made = writeOutputs(request, run.context(), figures, run.completed(), run.host, run.host);
    ASSERT_EQ(made.hindcast.size(), 2u);
    EXPECT_GT(run.host.log.size(), logged);  // the target's block went into the log
    ASSERT_FALSE(made.failures.empty());
    EXPECT_EQ(made.failures[0].subject, "1980");
    EXPECT_NE(made.failures[0].text.find("The hindcast for 1980 stopped: "), std::string::npos)
        << made.failures[0].text;
    ASSERT_FALSE(made.notices.empty());  // the risk's check, or why there is none
    for (const Diagnostic& notice : made.notices) {
        EXPECT_EQ(notice.kind, DiagnosticKind::RiskNotice);
        EXPECT_EQ(notice.severity, Severity::Warning);
    }
    EXPECT_TRUE(std::filesystem::exists(dir / "r.html"));  // the report comes last, with what was made
}

}  // namespace
}  // namespace el::ops
