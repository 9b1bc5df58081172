#pragma once
// The result of a completed run, made from its input and its last power pass.

#include "engine/model/run_result.hpp"
#include "engine/pass/power_pass.hpp"

namespace el::engine {

// Everything but the status and the weight grid, which the run driver knows.
RunResult resultOfPass(const PassInput& input, PassOutcome last);

// Per region number: training, validation, other or excluded in the pass that used `regno`.
std::vector<RegionRole> regionRoles(const PassInput& input, const std::vector<int>& regno);

}  // namespace el::engine
