#pragma once
// An examine-weight run: the forecast's run over the grid of weighting powers, which records
// the correlations of every pair in the weight-test file instead of writing a report. What it
// needs and what it refuses are said here once, for every front end that offers it.

#include <optional>
#include <string>

#include "base/settings.hpp"
#include "engine/run/engine.hpp"
#include "ops/diagnostic.hpp"
#include "ops/forecast.hpp"

namespace el::ops {

// True when `settings` ask for an examine-weight run.
bool examinesWeight(const SettingsSource& settings);

// The refusal of a plot of the grid into `file` when the settings ask for no examine-weight
// run (kind WeightPlotWithoutGrid, subject the file); nothing without a file.
std::optional<Diagnostic> weightPlotRefusal(const std::string& file, const SettingsSource& settings);

// What is said before a run that may examine the weights: the forecast's checks, then the
// refusal of its weight plot.
Diagnostics checkExamineWeight(const ForecastRequest& request, const SettingValues& settings,
                               const std::string& weightPlotFile, const ForecastChecks& checks = {});

// The examine-weight run of `request`: the grid switched on in the hooks' settings, and the
// write-back off (it writes the weight-test file into the work folder, never the source).
ForecastResult examineWeight(engine::Engine& engine, const ForecastRequest& request, const engine::RunHooks& hooks);

}  // namespace el::ops
