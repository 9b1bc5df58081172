#pragma once
// The batch runner's command line. Every option comes from the parameter registry
// (base/parameters.hpp), which checks each value; --help is generated from it, so the window,
// the converter, R and the batch runner offer the same parameters with the same refusals.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "base/command_line.hpp"
#include "base/parameters.hpp"
#include "base/settings.hpp"
#include "engine/hindcast/hindcast_all.hpp"
#include "ops/risk_options.hpp"
#include "vector/records_source.hpp"

namespace el::batch {

// The text of a missing value in every batch run, read and written alike; no option changes it.
inline const std::string kMissValue = "null";

struct BatchOptions {
    ParamValues params;                      // every parameter's value as given (the rest below is read from it)
    SettingValues values;                    // start-up values with the options applied
    std::optional<std::string> speciesList;  // the -s text, when given
    bool logToFile = false;                  // -o given: values holds the log file name
    std::string file;                        // the vector file
    vec::RecordsSource records;              // --records or --occurrences, in place of FILE
    std::string encoding = "auto";           // --encoding: the text encoding of the file
    bool quiet = false;                      // --quiet: no progress line on a terminal
    bool force = false;                      // --force: write an output refused for its size
    std::string mapFile;                     // --map: figure file of the map, "" for none
    std::optional<std::string> mapSpecies;   // --map-species: the species the map colours
    bool mapYDown = false;                   // --map-y-down: the map's y grows downwards
    std::optional<std::array<double, 4>> mapExtent;  // --map-extent: xmin, ymin, xmax, ymax of the map's frame
    bool mapLabels = false;                  // --map-labels: region names on the map where they fit
    std::optional<std::string> mapCrs;       // --map-crs: the coordinate system of a longitude/latitude map
    bool mapPredicted = false;               // --map-values predicted: every region by its predicted date
    bool mapRisk = false;                    // --map-values risk: the target's risk of a first record
    std::string fitPlotFile;                 // --fit-plot: figure file of the fit plot, "" for none
    std::string weightPlotFile;              // --weight-plot: heat map of the power grid, "" for none
    std::string reportFile;                  // --report: the report (.pdf or .html), "" for none
    std::string predictionsFile;             // --predictions: the predictions table, "" for none
    std::string summaryFile;                 // --summary: the run summary (.json), "" for none
    std::vector<double> hindcastYears;       // --hindcast: the cut-off years, in the order given
    std::optional<std::string> hindcastTargets;  // --hindcast-targets: "all" or a comma list of species
    std::string hindcastTable;               // --hindcast-table: one row per species and year (.csv), "" for none
    engine::HindcastEligibility hindcastRules;  // --hindcast-min-before, -after, -unreached
    ops::RiskOptions risk;                      // --risk-horizon, --as-of, --risk-table, --watch-list
    bool help = false;
    bool version = false;

    bool fromRecords() const { return !records.input().empty(); }
    // The file the data come from: FILE, or the records table or points.
    std::string input() const { return fromRecords() ? records.input().string() : file; }
};

// Either the options or the text of a usage error.
using ParseResult = cmdline::Parsed<BatchOptions>;

ParseResult parseCommandLine(const std::vector<std::string>& args);

// Every option, in the order --help lists them; the handlers write into `opts.params`, which
// must outlive the table.
std::vector<cmdline::Option> optionTable(BatchOptions& opts);

// The -s text split at commas; "" gives no name at all.
std::vector<std::string> splitSpecies(const std::string& text);

std::string usageText();

}  // namespace el::batch
