#pragma once
// Everything the report of one completed run shows, as plain data. The batch runner fills
// it from its run (cli/report_adapter.cpp); the window can fill it the same way.

#include <optional>
#include <string>
#include <vector>

#include "engine/engine.hpp"
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
    std::string calculationDate;  // "MM-DD-YYYY", as in the log header
    std::vector<std::string> species;  // analysed, in list order
    std::vector<ReportSetting> settings;
    bool examineWeight = false;   // the run went over the power grid

    const VectorData* data = nullptr;            // the regions' geometry and names
    const engine::RunSummary* run = nullptr;     // the completed run
    MapChoice map;                               // the species the map and the tables show
    MapOptions mapOptions;

    // Per region number: the SD of the fluctuation trials in date units; empty when the
    // run had no trials (or its species is not predictable, when the SD has no date unit).
    std::vector<std::optional<double>> dateSd;
    // The average of that SD over the regions, in date units; nothing without trials.
    std::optional<double> trialSpread;
    // The coefficients over the power grid, after an examine-weight run.
    std::optional<WeightGrid> weightGrid;
};

}  // namespace el::figures
