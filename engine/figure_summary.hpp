#pragma once
// What the figures need from the last power pass: per region its role and actual target
// date, per species its fitted line.

#include <string>
#include <vector>

#include "engine/engine.hpp"
#include "engine/prediction.hpp"
#include "engine/status_matrix.hpp"

namespace el::engine {

// Fills the figure fields of `summary`, whose `regno` already lists the regions used.
void addFigureData(RunSummary& summary, const SpeciesTable& table, const StatusMatrix& status,
                   const std::vector<std::string>& regionNames, const std::vector<SpeciesFit>& fits);

// How many values a power loop takes from `first` while not above `last`, in steps of 0.1
// added in double precision, exactly as the loop itself counts them.
long long powerStepCount(double first, double last);

}  // namespace el::engine
