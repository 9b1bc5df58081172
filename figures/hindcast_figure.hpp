#pragma once
// The hindcast plot of one cut-off year: the recorded date of every region reached after it
// against the date the masked run predicted (the diagonal is a perfect forecast), the
// predicted dates of the regions not reached as crosses in a strip above the plot, and the
// year's figures and those of the distance baseline in the legend.

#include <optional>
#include <string>
#include <vector>

#include "engine/hindcast/hindcast.hpp"
#include "figures/scene.hpp"

namespace el::figures {

// `regionNames` by region number, for the hover texts.
Scene buildHindcastPlot(const engine::HindcastYear& year, const std::vector<std::string>& regionNames,
                        double width = 760, double height = 560);

// "AUC .978" style texts of one figure: three decimals, "n/a" when it cannot be computed.
std::string figureText(const std::optional<double>& value);

// "2.3" style text of a mean error in years: rounded to one decimal, no trailing zero.
std::string meanErrorText(double years);

}  // namespace el::figures
