#pragma once
// The fit plot of the target species: actual date against predicted date per region,
// training and validation regions in different marks, the fitted line (which maps every
// score to its predicted date, so in these axes it is the diagonal) and the correlation
// coefficients in the legend.

#include "engine/run/engine.hpp"
#include "figures/scene.hpp"

namespace el::figures {

Scene buildFitPlot(const engine::RunResult& run, double width = 760, double height = 560);

}  // namespace el::figures
