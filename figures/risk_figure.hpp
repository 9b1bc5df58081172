#pragma once
// The reliability figure of a risk's check: the regions in groups by risk, each group's mean
// risk against the share of its regions that got a first record, beside the line where the
// two agree.

#include <string>

#include "engine/risk/risk_check.hpp"
#include "figures/scene.hpp"

namespace el::figures {

// A share as a percentage with one decimal ("6.6 %"), as the figure and the report's risk
// tables show risks.
std::string riskPercent(double share);

// `period` ("2012-2022") names what the check scored.
Scene buildReliabilityPlot(const engine::CheckFigures& figures, const std::string& period, double width = 760,
                           double height = 560);

}  // namespace el::figures
