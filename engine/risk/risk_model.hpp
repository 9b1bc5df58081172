#pragma once
// The risk model: a ridge logistic regression (lambda 1 on the slopes, the intercept free)
// of "first record in (c, c + H]" on the features of risk_features.hpp, fitted on an inner
// hindcast: every region not reached at c of every species that had reached at least 3
// regions by c and at least one new region in (c, c + H], all inside the data known at the
// as-of year. A model fitted at c = Y - H gives the risk of (Y, Y + H] from the features at Y.

#include <optional>
#include <string>
#include <vector>

#include "engine/risk/reach_table.hpp"
#include "engine/risk/risk_features.hpp"

namespace el::engine {

// How many species, arrivals and regions a fit needs, and the penalty.
struct RiskRules {
    int minRegions = 3;      // reached by the cut-off, for a species to take part
    int minNewRegions = 1;   // newly reached in (c, c + H], for a species to be fitted on
    int minSpecies = 3;      // species to fit on
    int minArrivals = 5;     // regions newly reached, over those species
    int minNonArrivals = 5;  // regions not reached in (c, c + H], over those species
    double lambda = 1;
};

struct RiskModel {
    double cutoff = 0;                 // features at the cut-off c
    double upTo = 0;                   // outcome: first record in (c, upTo]
    std::vector<std::string> terms;    // riskTerms(): "intercept", then the features
    std::vector<double> coefficients;  // one per term
    bool converged = false;
    int iterations = 0;
    int species = 0;  // fitted on
    int regions = 0;
    int arrivals = 0;
};

// A model, or why there is none ("only 2 species ...: at least 3 are needed ...").
struct FittedModel {
    std::optional<RiskModel> model;
    std::string reason;
};

// Whether species `s` is fitted on at `cutoff`: enough regions reached by it and a new one
// in (cutoff, cutoff + horizon].
bool fittedOn(const ReachTable& reach, int s, double cutoff, double horizon, const RiskRules& rules);

// Whether species `s` is scored by a check at `cutoff`: enough regions reached by it and at
// least one not reached.
bool scoredOn(const ReachTable& reach, int s, double cutoff, const RiskRules& rules);

// The fit over `cases` (the species fitted on at `cutoff`, with their outcomes).
FittedModel fitRiskModel(const std::vector<SpeciesCase>& cases, const RiskFeatureSet& set, const RiskRules& rules,
                         double cutoff, double horizon);

// The model's probability for a region's features.
double riskOf(const RiskModel& model, const RegionCase& region);

}  // namespace el::engine
