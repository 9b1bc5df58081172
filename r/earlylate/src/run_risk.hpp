#pragma once
// The target's risk of a first record from R: what el_forecast(..., risk_horizon =, as_of =)
// asks for, made as the batch runner makes it after a completed run, and the result as an
// R list with the names of the run summary's "risk" object.

#include <Rcpp.h>

#include <optional>
#include <string>
#include <vector>

#include "base/settings.hpp"
#include "engine/model/run_result.hpp"
#include "engine/risk/risk_result.hpp"
#include "r_hooks.hpp"
#include "run_prepare.hpp"

namespace el::rpkg {

struct RiskAsked {
    std::optional<double> horizon;  // nothing: no risk
    std::optional<double> asOf;     // nothing: the latest date of the species analysed
};

// From list(risk_horizon =, as_of =), either NULL; throws ToolError for a horizon that is not a
// number above 0 or an as-of year that is not a number.
RiskAsked riskAskedOf(const Rcpp::List& risk);

// The target's risk after `result`, a completed run on `run`'s data with the settings as
// given; nothing when none was asked or the run has no target. A request the risk model
// refuses adds its reason to `messages` and gives nothing.
std::optional<engine::RiskResult> targetRisk(const RiskAsked& asked, const PreparedRun& run, const SettingValues& given,
                                             const engine::RunResult& result, RFeedback& feedback,
                                             std::vector<std::string>& messages);

// horizon, as_of, coefficients, converged, base_rate, distance_used, regions, reason, notes,
// check (its figures, reliability as columns) and sentences; NA for a figure there is not.
Rcpp::List riskList(const engine::RiskResult& risk);

}  // namespace el::rpkg
