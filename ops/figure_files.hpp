#pragma once
// The figures and the report the batch runner draws after a completed run: the map, the
// fit plot and the weight plot (PNG, SVG or PDF by the file's extension) and the report
// (PDF or HTML).

#include <array>
#include <optional>
#include <string>

#include "base/settings.hpp"
#include "engine/hindcast/hindcast.hpp"
#include "engine/hindcast/hindcast_all.hpp"
#include "engine/model/run_result.hpp"
#include "engine/risk/risk_result.hpp"
#include "vector/vector_data.hpp"

namespace el::ops {

struct FigureRequest {
    std::string mapFile;         // "" for no map
    int mapSpecies = -1;         // species position; -1: the target, else the first species
    bool mapYDown = false;       // the map's y grows downwards
    std::string fitPlotFile;     // "" for no fit plot
    std::string weightPlotFile;  // "" for no weight plot (examine-weight runs only)
    std::string reportFile;      // "" for no report
    std::optional<std::array<double, 4>> mapExtent =
        std::nullopt;        // xmin, ymin, xmax, ymax; nothing: the regions' main parts
    bool mapLabels = false;  // region names where they fit
    std::optional<std::string> mapCrs =
        std::nullopt;           // a longitude/latitude map's coordinate system; nothing: equal-area
    bool mapPredicted = false;  // every region by its predicted date, not the known-and-forecast map
    bool mapRisk = false;       // the target's risk of a first record: drawn after the risk is made
};

// What the figures and the report read of a completed run.
struct CompletedRun {
    const vec::VectorData& data;
    const engine::RunResult& result;
    const SettingsSource& settings;  // as the run left them
    std::string sourceFile;          // as given on the command line
    std::string calculationDate;
};

// The warning for a coordinate system asked for a map whose data are not longitudes and
// latitudes (they keep their coordinates); nothing otherwise.
std::optional<std::string> mapCrsWarning(const FigureRequest& request, const vec::VectorData& data);

// Writes each requested figure whole (through a temporary file renamed into place).
// Returns the text of the first failure, nothing when every file was written.
std::optional<std::string> writeFigures(const FigureRequest& request, const CompletedRun& run);

// Writes the requested risk map (the map, when it shows the risk) with the risk made after
// the run; the text of the failure, nothing when it was written or none was asked for.
std::optional<std::string> writeRiskMap(const FigureRequest& request, const CompletedRun& run,
                                        const std::optional<engine::RiskResult>& risk);

// Writes the requested report, with the hindcasts and the risk made after the run (none: empty); the
// text of the failure, nothing when it was written or none was asked for.
std::optional<std::string> writeRunReport(const FigureRequest& request, const CompletedRun& run,
                                          const std::vector<engine::HindcastYear>& hindcast,
                                          const std::optional<engine::AllSpeciesHindcast>& allSpecies,
                                          const std::optional<engine::RiskResult>& risk = std::nullopt);

}  // namespace el::ops
