#pragma once
// How a power pass is reported. Each stage of a pass, as it is done, becomes a piece of
// report made from the pass's outcome alone: its log lines and, in an examine-weight run
// once the target is fitted, the pass's weight-test line. A pass's report shows each piece
// at once when the pass runs on the thread that called the run, and keeps them for that
// thread to show in pass order when the pass runs on a worker. A PassLogWriter shows them:
// lines to the log, weight-test lines to the file and the run's grid.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/feedback.hpp"
#include "base/log_sink.hpp"
#include "base/settings.hpp"
#include "engine/model/run_result.hpp"
#include "engine/pass/power_pass.hpp"
#include "engine/report/report_header.hpp"
#include "engine/report/run_weight_test_file.hpp"

namespace el::engine {

class PassLogWriter;

class PassReport : public PassListener {
public:
    // A pass's weight-test line with what goes with it: the result's grid cell and the status caption.
    struct WeightTestEntry {
        std::string line;
        std::string caption;
        WeightGridCell cell;
    };
    struct Piece {
        LogLines lines;
        std::optional<WeightTestEntry> weightTest;
    };

    // Shows every piece on `showNow` as it is made, or keeps it when that is null. Reads the
    // pass's settings as the pass goes on: the target text when it starts, whether the run
    // still examines the weights when the target is fitted.
    PassReport(const PassInput& input, const SettingsSource& settings, bool reportMode, PassLogWriter* showNow)
        : input_(input), settings_(settings), reportMode_(reportMode), showNow_(showNow) {}

    void stageDone(PassStage stage, const PassOutcome& outcome) override;
    // The pieces kept, in stage order, for a PassLogWriter to show.
    std::vector<Piece> takeKept() { return std::move(kept_); }

private:
    Piece piece(PassStage stage, const PassOutcome& outcome);

    const PassInput& input_;
    const SettingsSource& settings_;
    bool reportMode_;
    PassLogWriter* showNow_;
    std::string targetText_;
    std::vector<Piece> kept_;
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
    void show(const PassReport::Piece& piece);
    std::vector<WeightGridCell> takeGrid() { return std::move(grid_); }

private:
    LogSink& log_;
    Feedback& feedback_;
    std::optional<WeightTestFile>& weightTest_;
    std::string passCaption_;
    std::vector<WeightGridCell> grid_;
};

// Per species and used position the predicted date text, or "Unpredictable".
std::vector<std::vector<std::string>> predictionTexts(const PassOutcome& outcome);

}  // namespace el::engine
