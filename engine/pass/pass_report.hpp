#pragma once
// How a power pass is reported: the log lines of each stage as it is done, made from the
// pass's outcome alone, and the prediction texts that the write-back puts into the source.

#include <string>
#include <vector>

#include "engine/pass/power_pass.hpp"
#include "engine/report/report_header.hpp"

namespace el::engine {

struct PassReportContext {
    const PassInput& input;
    bool reportMode = true;  // an examine-weight run writes only what was asked for on top
    const std::string& targetText;  // the target species text as the pass began
};

// The lines `stage` adds to the log. The similarity matrices and the adjusted matrix come
// whenever they were asked for; everything else only in report mode.
LogLines passStageLines(PassStage stage, const PassOutcome& outcome, const PassReportContext& context);

// Per species and used position the predicted date text, or "Unpredictable".
std::vector<std::vector<std::string>> predictionTexts(const PassOutcome& outcome);

}  // namespace el::engine
