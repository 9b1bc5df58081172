#pragma once
// Species weights: by agreement with the target species, by the probability that two
// resamplings of a species' own data agree (automatic weighting), or all 1.

#include <optional>
#include <vector>

#include "base/feedback.hpp"
#include "engine/kernels/relations.hpp"
#include "engine/model/species_weights.hpp"

namespace el::engine {

// C(n, k) p^k (1 - p)^(n - k) through logarithms; 0 for k < 0. Yields once.
double binomial(int n, int k, double p, Feedback& feedback);

// The chance that draws from the posteriors of (k1 of n1) and (k2 of n2) fall into the
// same of 100000 equal cells of [0, 1]; nothing for an invalid sample (k outside 0..n, n < 1).
std::optional<double> sameProbability(int k1, int n1, int k2, int n2, Feedback& feedback);

// (similarity ^ p1) * (viable ^ p2); a negative power of a zero base gives 0.
double agreementWeight(double same, int viable, double p1, double p2);

// Computes every species' weight, showing "Weight"+name on the status label and the share
// done on the run progress label, then "Weight calculation end".
SpeciesWeights computeWeights(const SpeciesComparison& cmp, const std::vector<std::string>& names,
                              std::optional<int> target, bool autoWeight, double p1, double p2, Feedback& feedback);

}  // namespace el::engine
