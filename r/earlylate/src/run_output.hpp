#pragma once
// A completed run's typed result as R data frames (as plain lists of columns; the R side
// makes the data frames).

#include <Rcpp.h>

#include <vector>

#include "base/settings.hpp"
#include "engine/hindcast/hindcast.hpp"
#include "engine/hindcast/hindcast_all.hpp"
#include "engine/model/run_result.hpp"

namespace el::rpkg {

// Per species in list order: name, target, predictable, a, b, r_training, n_training,
// r_validation, n_validation, r_all, n_all, trial_sd_date (coefficients that cannot be
// computed, and validation figures of other species than the target, are NA).
Rcpp::List speciesColumns(const engine::RunResult& result);

// Per species: its weight in the last pass; `mode` ("target", "automatic" or "uniform") as
// an attribute, and `viable` in automatic mode.
Rcpp::List weightColumns(const engine::RunResult& result);

// The power grid of an examine-weight run: similarity_power, sample_power, r_training,
// r_validation, r_all.
Rcpp::List gridColumns(const engine::RunResult& result);

// Every setting by name, as the run left them.
Rcpp::CharacterVector settingsVector(const SettingsSource& settings);

// Per cut-off year: year, reached_later, not_reached, auc, spearman, mae, distance_auc,
// distance_spearman, error.
Rcpp::List hindcastColumns(const std::vector<engine::HindcastYear>& years);

// Per cut-off year of a hindcast over several species: year, species, then the mean and sd
// of each figure (auc_mean, auc_sd, ...) and auc_beats_distance.
Rcpp::List hindcastSpreadColumns(const std::vector<engine::HindcastYearSpread>& years);

}  // namespace el::rpkg
