#pragma once
// The check of a risk model on what happened: a model fitted one horizon earlier gives
// risks for (c, c + H] from the features at c, and these figures compare them with the
// first records the data hold for that period. Each figure is nothing when it cannot be
// computed, with the reason in words.
//
//   auc          mean over species of the within-species AUC: the chance that a region newly
//                reached got a higher risk than one not reached (ties half), over the species
//                with both; pooled_auc the same over every region at once
//   score_auc, distance_auc   the same for the early-late score alone (earlier = at risk) and
//                the distance alone (nearer = at risk): what the model adds to them
//   brier        mean (risk - outcome)^2
//   base_rate    the share of the regions newly reached; base_brier the Brier score of giving
//                every region that share, base_rate (1 - base_rate); brier_skill 1 - brier / base_brier
//   calibration  slope and intercept of the logistic regression of outcome on logit(risk),
//                unpenalised: slope 1 and intercept 0 for risks that are right on average
//   predicted_to_observed  the sum of the risks over the number of regions newly reached
//   reliability  the regions in five groups of equal size by risk (lowest first): the mean
//                risk and the share newly reached in each

#include <optional>
#include <string>
#include <vector>

namespace el::engine {

struct RiskFigure {
    std::optional<double> value;
    std::string reason;  // why there is no value
};

// One region of the check.
struct ScoredRegion {
    int species = 0;
    double risk = 0;
    int outcome = 0;
    double score = 0;                // the score feature as the model took it
    std::optional<double> distance;  // the distance feature; nothing when left out
};

struct ReliabilityBin {
    int regions = 0;
    double lowest = 0, highest = 0;  // of the risks in the group
    double meanRisk = 0;
    double observed = 0;  // share newly reached
};

struct CheckFigures {
    int species = 0;
    int regions = 0;
    int arrivals = 0;
    double predictedArrivals = 0;  // the sum of the risks
    int aucSpecies = 0;            // species with both a region newly reached and one not
    RiskFigure auc, pooledAuc, scoreAuc, distanceAuc;
    RiskFigure brier, baseRate, baseBrier, brierSkill;
    RiskFigure calibrationSlope, calibrationIntercept;
    bool calibrationConverged = false;
    int calibrationIterations = 0;
    RiskFigure predictedToObserved;
    std::vector<ReliabilityBin> reliability;
};

// The share of pairs (one of `higher`, one of `lower`) in which the value of `higher` is
// the larger, a tie counting one half, from the ranks of all values; nothing without a pair.
std::optional<double> rankAuc(const std::vector<double>& higher, const std::vector<double>& lower);

// The figures over `regions`; `period` ("1995-2005") names the period in the reasons.
CheckFigures checkFigures(const std::vector<ScoredRegion>& regions, const std::string& period);

// The regions in `bins` groups of nearly equal size by risk (ties by position), lowest first;
// fewer groups when there are fewer regions.
std::vector<ReliabilityBin> reliabilityBins(const std::vector<ScoredRegion>& regions, int bins = 5);

}  // namespace el::engine
