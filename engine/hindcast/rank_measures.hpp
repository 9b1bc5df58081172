#pragma once
// The measures by which a hindcast is scored: the share of correctly ordered pairs (the
// area under the ROC curve), rank correlation and mean absolute error. Each gives nothing
// when it cannot be computed, never a made-up number.

#include <optional>
#include <vector>

namespace el::engine {

// 1-based ranks in ascending order; tied values share the mean of their ranks.
std::vector<double> averageRanks(const std::vector<double>& values);

// Pearson's correlation; nothing for fewer than two pairs or when either side has no spread.
std::optional<double> pearson(const std::vector<double>& x, const std::vector<double>& y);

// Pearson's correlation of the average ranks; nothing for fewer than three pairs or no spread.
std::optional<double> spearman(const std::vector<double>& x, const std::vector<double>& y);

// Over every pair (one value of `first`, one of `second`): the share in which the value of
// `first` is the smaller, a tie counting one half. Nothing when there is no pair.
std::optional<double> orderedPairShare(const std::vector<double>& first, const std::vector<double>& second);

// Mean of |x - y|; nothing for no pair.
std::optional<double> meanAbsoluteDifference(const std::vector<double>& x, const std::vector<double>& y);

}  // namespace el::engine
