#pragma once
// How a run reports its passes. Each stage of a pass becomes a piece of report: its log
// lines and, in an examine-weight run when the target has been fitted, the pass's
// weight-test line. A piece is made where the pass is computed and shown by the thread that
// called the run: at once when the passes run there, in pass order when they run on workers.

#include <optional>
#include <string>
#include <vector>

#include "base/feedback.hpp"
#include "base/log_sink.hpp"
#include "base/settings.hpp"
#include "engine/pass/power_pass.hpp"
#include "engine/run/run_result.hpp"
#include "engine/report/run_weight_test_file.hpp"

namespace el::engine {

// A pass's weight-test line with what goes with it: the result's grid cell and the status caption.
struct WeightTestEntry {
    std::string line;
    std::string caption;
    WeightGridCell cell;
};

struct StageReport {
    LogLines lines;
    std::optional<WeightTestEntry> weightTest;
};

// Makes the pieces of one pass's stages. Reads the target text when the pass starts, and
// whether the run still examines the weights when the target is fitted.
class StageReporter {
public:
    StageReporter(const PassInput& input, const SettingsSource& settings, bool reportMode)
        : input_(input), settings_(settings), reportMode_(reportMode) {}

    StageReport report(PassStage stage, const PassOutcome& outcome);

private:
    const PassInput& input_;
    const SettingsSource& settings_;
    bool reportMode_;
    std::string targetText_;
};

// Shows pieces of report: lines to the log; a weight-test entry to the file and the grid,
// then the status caption and the pass caption, and a yield (none of it in a run without
// the file: a report-mode run whose examine-weight switch was turned on while it ran).
class PassLogWriter {
public:
    PassLogWriter(LogSink& log, Feedback& feedback, std::optional<WeightTestFile>& weightTest)
        : log_(log), feedback_(feedback), weightTest_(weightTest) {}

    // What the run progress label shows with the weight-test caption of the coming pass.
    void setPassCaption(std::string caption) { passCaption_ = std::move(caption); }
    void show(const StageReport& report);
    std::vector<WeightGridCell> takeGrid() { return std::move(grid_); }

private:
    LogSink& log_;
    Feedback& feedback_;
    std::optional<WeightTestFile>& weightTest_;
    std::string passCaption_;
    std::vector<WeightGridCell> grid_;
};

// Passes on the calling thread: every stage shown as soon as it is done.
class PassReporter : public PassListener {
public:
    PassReporter(StageReporter stages, PassLogWriter& writer) : stages_(std::move(stages)), writer_(writer) {}
    void stageDone(PassStage stage, const PassOutcome& outcome) override { writer_.show(stages_.report(stage, outcome)); }

private:
    StageReporter stages_;
    PassLogWriter& writer_;
};

// Passes on a worker: every stage kept for the calling thread to show.
class StageRecorder : public PassListener {
public:
    explicit StageRecorder(StageReporter stages) : stages_(std::move(stages)) {}
    void stageDone(PassStage stage, const PassOutcome& outcome) override;
    std::vector<StageReport> take() { return std::move(reports_); }

private:
    StageReporter stages_;
    std::vector<StageReport> reports_;
};

}  // namespace el::engine
