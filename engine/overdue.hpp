#pragma once
// Regions where the forecast is already overdue: the target is recorded as not yet arrived
// there ("NotYetArrived" or "未分布"), yet its predicted date falls at or before the latest
// date the target has anywhere in the data.

#include <optional>
#include <vector>

#include "engine/run_result.hpp"

namespace el::engine {

// The latest date of the target over every region, before the split; nothing without a
// target or without a dated region.
std::optional<double> latestTargetDate(const RunResult& run);

// Per region number: true where the region is overdue. All false without a target, when the
// target is not predictable, or when it has no dated region.
std::vector<bool> overdueRegions(const RunResult& run);

}  // namespace el::engine
