#pragma once
// Everything the report of one completed run shows, as plain data, gathered from the run's
// typed result and the settings the run used. The batch runner and the window
// fill it the same way.

#include <optional>
#include <string>
#include <vector>

#include "base/settings.hpp"
#include "engine/hindcast/hindcast.hpp"
#include "engine/hindcast/hindcast_all.hpp"
#include "engine/model/run_result.hpp"
#include "engine/risk/risk_result.hpp"
#include "figures/map_figure.hpp"
#include "figures/weight_grid.hpp"
#include "vector/vector_data.hpp"

namespace el::figures {

struct ReportSetting {
    std::string caption;  // as the window labels it
    std::string value;    // as the run used it
};

struct ReportContent {
    std::string sourceFile;       // the vector file as the user named it
    std::string calculationDate;  // "MM-DD-YYYY", as in the log header (the report writes it YYYY-MM-DD)
    std::vector<ReportSetting> settings;  // as the run used them

    const vec::VectorData* data = nullptr;      // the regions' geometry and names
    const engine::RunResult* run = nullptr;     // the completed run: its species, its kind, its results
    MapChoice map;                               // the species the map and the tables show
    MapOptions mapOptions;

    // Per region number: the SD of the fluctuation trials in date units; empty when the
    // run had no trials (or its species is not predictable, when the SD has no date unit).
    std::vector<std::optional<double>> dateSd;
    // The average of that SD over the regions, in date units; nothing without trials.
    std::optional<double> trialSpread;
    // The coefficients over the power grid, after an examine-weight run.
    std::optional<WeightGrid> weightGrid;
    // The hindcast made with the run, one entry per cut-off year; empty without one.
    std::vector<engine::HindcastYear> hindcast;
    // The hindcast over many species made with the run, when one was.
    std::optional<engine::AllSpeciesHindcast> allSpecies;
    // The target's risk of a first record, when one was asked for.
    std::optional<engine::RiskResult> risk;
};

// The content of the report of `run`, a completed run on `data`.
ReportContent reportContentOf(const vec::VectorData& data, const engine::RunResult& run, const SettingsSource& settings,
                              std::string sourceFile, std::string calculationDate, const MapChoice& map,
                              const MapOptions& mapOptions);

}  // namespace el::figures
