#pragma once
// The run summary's "risk" object: the target's risk of a first record within the horizon,
// the model's coefficients, and its check one horizon earlier. Every figure that cannot be
// computed is null, with the reason beside it. Used by run_summary.cpp alone.

#include <nlohmann/json.hpp>

#include "engine/risk/risk_result.hpp"

namespace el::engine {

nlohmann::ordered_json riskSummaryObject(const RiskResult& risk);

}  // namespace el::engine
