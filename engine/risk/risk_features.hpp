#pragma once
// The features of the risk model for one species at one cut-off c, over the regions it has
// not reached by then, and each region's outcome "first record in (c, c + H]".
//
// The four features, in the order the model takes them:
//   score         the early-late region score of a run on the data up to c with the species
//                 as target (large: late), as its rank percentile among these regions;
//   distance      great-circle (or plane) distance from the region's centroid to the nearest
//                 centroid of a region reached by c, as its rank percentile; left out of the
//                 model altogether when the regions have no geometry;
//   other_species the number of the other species analysed reached by c in the region, as
//                 its rank percentile;
//   recent_rate   logit((k + 1/2) / (N - k + 1/2)), k the regions newly reached in (c - H, c],
//                 N those not reached by c - H: the species' own pace, the same for all its
//                 regions, so it enters as it is (a percentile of it would always be 1/2).
// The percentiles enter centred (percentile - 1/2): the intercept is then the log-odds of a
// middling region of a species with k = N - k. A region without a score (the run stopped, or
// left it out) or without a centroid takes the middle, 0.
//
// The percentiles are taken within each species, so the model learns an order within a
// species from them and the level of a species' risk from its recent rate.

#include <optional>
#include <string>
#include <vector>

#include "engine/hindcast/region_distance.hpp"
#include "engine/risk/reach_table.hpp"

namespace el::engine {

// Which features the model takes: every one, or all but the distance.
struct RiskFeatureSet {
    bool distance = true;
};

// The names of the model's coefficients: "intercept" and then the features taken.
std::vector<std::string> riskTerms(const RiskFeatureSet& set);

struct RegionCase {
    int region = 0;                  // region number (file order)
    std::optional<double> score;     // raw early-late score
    std::optional<double> distance;  // raw distance, in km (or map units)
    int otherSpecies = 0;
    std::vector<double> x;       // the features as the model takes them
    std::optional<int> outcome;  // 1: first record in (c, c + H]; nothing when the data end before c + H
};

struct SpeciesCase {
    int species = 0;  // position in the species list
    double cutoff = 0;
    int newRegions = 0;   // k
    int openRegions = 0;  // N
    double recentRate = 0;
    bool scored = false;              // the early-late run at the cut-off completed
    std::vector<RegionCase> regions;  // those unreached at the cut-off, in file order
};

// What the cases of one cut-off share.
struct CaseInputs {
    const ReachTable* reach = nullptr;
    const RegionCentres* centres = nullptr;  // nothing: the distance is left out
    double horizon = 10;
    double knownUpTo = 0;       // the as-of year: outcomes beyond it are unknown
    std::vector<int> recorded;  // per region: species reached by the cut-off (all of them)
};

// Per region: how many species analysed had reached it by `cutoff`.
std::vector<int> recordedCounts(const ReachTable& reach, double cutoff);

// logit((k + 1/2) / (N - k + 1/2)).
double recentRate(int newRegions, int openRegions);

// The case of `species` at `cutoff`; `score` is its run's region score per region number,
// nothing when that run stopped.
SpeciesCase speciesCase(const CaseInputs& inputs, int species, double cutoff,
                        const std::optional<std::vector<std::optional<double>>>& score);

}  // namespace el::engine
