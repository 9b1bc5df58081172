#pragma once
// Species weights: by agreement with the target species, by the probability that two
// resamplings of a species' own data agree (automatic weighting), or all 1.

#include <map>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "base/feedback.hpp"
#include "engine/model/species_weights.hpp"
#include "engine/pass/species_comparisons.hpp"

namespace el::engine {

// C(n, k) p^k (1 - p)^(n - k) through logarithms; 0 for k < 0. Yields once.
double binomial(int n, int k, double p, Feedback& feedback);

// The chance that draws from the posteriors of (k1 of n1) and (k2 of n2) fall into the
// same of 100000 equal cells of [0, 1]; nothing for an invalid sample (k outside 0..n, n < 1).
std::optional<double> sameProbability(int k1, int n1, int k2, int n2, Feedback& feedback);

// (similarity ^ p1) * (viable ^ p2); a negative power of a zero base gives 0.
double agreementWeight(double same, int viable, double p1, double p2);

// sameProbability(k, n, k, n), kept for a run: automatic weights do not depend on the
// powers, and species with the same counts share one value. Safe to use from several threads.
class ResamplingMemo {
public:
    std::optional<double> of(int k, int n, Feedback& feedback);

private:
    std::mutex mutex_;
    std::map<std::pair<int, int>, std::optional<double>> known_;
};

// Computes every species' weight, showing "Weight"+name on the status label and the share
// done on the run progress label, then "Weight calculation end". `counts` are what the mode
// reads: with a target its column, with automatic weights the diagonal (which `resampling`
// turns into weights); nothing for uniform weights.
SpeciesWeights weightsFromCounts(WeightMode mode, const PairCounts* counts, ResamplingMemo* resampling,
                                 const std::vector<std::string>& names, std::optional<int> target, double p1, double p2,
                                 Feedback& feedback);

// The same with the counts taken from `cmp`.
SpeciesWeights computeWeights(SpeciesComparisons& cmp, ResamplingMemo& resampling,
                              const std::vector<std::string>& names, std::optional<int> target, bool autoWeight,
                              double p1, double p2, Feedback& feedback);

}  // namespace el::engine
