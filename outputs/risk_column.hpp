#pragma once
// The predictions table's column `risk`: the target's risk of a first record in every region
// it had not reached by the as-of year; empty where it had, or where there is no risk. The
// batch runner, the R package and the window add it the same way.

#include "base/typed_table.hpp"
#include "engine/risk/risk_result.hpp"

namespace el::engine {

void addRiskColumn(el::PredictionTable& table, const RiskResult& risk);

}  // namespace el::engine
