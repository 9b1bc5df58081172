#pragma once
// The risk of a first record as the batch runner makes it after a completed run, when asked:
// the target's risk (the predictions' column, the summary's object, its check said on
// standard error), the risk of each hindcast species-year (the hindcast table's figures, the
// risk table) and the watch list. None of it touches the log.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/feedback.hpp"
#include "base/typed_table.hpp"
#include "engine/hindcast/hindcast_all.hpp"
#include "engine/model/run_result.hpp"
#include "engine/risk/risk_hindcast.hpp"
#include "engine/risk/risk_result.hpp"
#include "engine/risk/risk_steps.hpp"
#include "ops/diagnostic.hpp"
#include "ops/risk_options.hpp"

namespace el::ops {

struct AfterRunContext;

// What the risk outputs left: the results for the other outputs, the lines for standard
// error (why a risk is missing, its check said plainly) and the files that failed.
struct RiskMade {
    std::optional<engine::RiskResult> target;
    std::optional<engine::RiskHindcast> hindcast;
    std::vector<std::string> notices;
    Diagnostics failures;  // the file, or the output refused, the subject
};

engine::RiskBasis riskBasis(const RiskOptions& risk, const AfterRunContext& run);

// The target's risk, when asked and the run has a target.
void makeTargetRisk(const RiskOptions& risk, const AfterRunContext& run, Feedback& feedback, RiskMade& made);

// The risk of each (cut-off year, species) case and the risk table when asked.
void makeHindcastRisk(const RiskOptions& risk, const AfterRunContext& run,
                      const std::vector<std::pair<double, std::string>>& cases, Feedback& feedback, RiskMade& made);

// The watch list, when asked.
void makeWatchList(const RiskOptions& risk, const AfterRunContext& run, Feedback& feedback, RiskMade& made);

// The (cut-off year, species) cases of the risk hindcast, in the order of the hindcast
// table's rows: the rows of the hindcast over several species when it was made (`all`), else
// `target` at each year (none when `target` is "").
std::vector<std::pair<double, std::string>> hindcastCases(const engine::AllSpeciesHindcast* all,
                                                          const std::vector<double>& years, const std::string& target);

// A hindcast table (one row per case, in the order of the risk hindcast's cases) with the
// risk figures.
void addRiskFigures(el::PredictionTable& table, const engine::RiskHindcast& hindcast);

}  // namespace el::ops
