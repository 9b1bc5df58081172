#pragma once
// A hindcast over many species: each species that is eligible at a cut-off year is taken
// as the target in turn, with the other settings as given, and scored as a single-target
// hindcast scores it. What does not depend on the target is made once per year (the masked
// data read, their codes; cutoff_forecasts.hpp), so each species costs only its own weights,
// matrix and eigenvector. The figures equal those of single-target hindcasts made one by
// one, for any number of threads.

#include <optional>
#include <string>
#include <vector>

#include "base/feedback.hpp"
#include "base/typed_table.hpp"
#include "engine/hindcast/hindcast.hpp"

namespace el::engine {

// Which species a hindcast at year Y can score: enough regions dated up to Y to fit a line,
// enough dated after Y to score it, and at least one region never reached.
struct HindcastEligibility {
    int minBefore = 5;     // regions dated up to Y
    int minAfter = 3;      // regions dated after Y
    int minUnreached = 1;  // regions whose value is "NotYetArrived" (or "未分布")
};

// Whether the species in variable `name` of `data` (unmasked) is eligible at `year`.
bool eligibleAt(const vec::VectorData& data, const std::string& name, double year, const HindcastEligibility& rules);

// One species at one cut-off year.
struct SpeciesHindcast {
    double year = 0;
    std::string species;
    bool ran = false;   // false: the masked run stopped, `error` says why
    std::string error;
    HindcastFigures figures;
};

// Mean and standard deviation (n - 1) of one figure over the species that have it.
struct FigureSpread {
    int count = 0;
    std::optional<double> mean;
    std::optional<double> sd;  // nothing for fewer than two values
};

// One cut-off year over its eligible species.
struct HindcastYearSpread {
    double year = 0;
    int species = 0;  // eligible species (rows) of this year
    FigureSpread reachedLater, notReached, auc, spearman, mae, distanceAuc, distanceSpearman;
    std::optional<double> aucBeatsDistance;  // share of species with auc > distance_auc, of those with both
};

struct AllSpeciesHindcast {
    std::vector<SpeciesHindcast> rows;      // year (as given) then species-list order
    std::vector<HindcastYearSpread> years;  // as given
};

struct AllSpeciesRequest {
    HindcastRequest base;                // data, species list, settings (the target setting is replaced)
    std::vector<std::string> targets;    // the candidates, in species-list order
    std::vector<double> years;
    HindcastEligibility rules;
    int threads = 1;  // species-year runs going on at once (and the threads that make a year's data)
};

// The candidates for `names`: "all" means every species of `species`, else a comma list
// whose names must each be among `species` (throws RunError naming the first that is not).
std::vector<std::string> hindcastTargets(const std::string& names, const std::vector<std::string>& species);
// The same for names given one by one.
std::vector<std::string> hindcastTargets(const std::vector<std::string>& names,
                                         const std::vector<std::string>& species);

// Runs every eligible (year, species) pair on up to `threads` threads; reports
// ProgressStage::Hindcasts. Throws Cancelled when stopped.
AllSpeciesHindcast runAllSpeciesHindcast(const AllSpeciesRequest& request, Feedback& feedback);

// The per-year spread of `rows` (pure).
std::vector<HindcastYearSpread> spreadByYear(const std::vector<SpeciesHindcast>& rows, const std::vector<double>& years);

// The table: year, species and the figures by their column names (hindcast_columns.hpp),
// one row per species and year; empty where a figure cannot be computed.
el::PredictionTable allSpeciesTable(const AllSpeciesHindcast& hindcast);

}  // namespace el::engine
