#pragma once
// The check of a risk said plainly, for the report, the window and R: how many regions like
// these get a first record within the horizon, how well the model sorts them, how far off
// its level was when checked, and whether it beats the base rate as a probability.

#include <string>
#include <vector>

#include "engine/risk/risk_result.hpp"

namespace el::engine {

std::vector<std::string> riskSentences(const RiskResult& result);

// A note of the result (what was left out and why, a clause) as a sentence of its own, as the
// report and the window show it beside the check.
std::string riskNoteSentence(const std::string& note);

}  // namespace el::engine
