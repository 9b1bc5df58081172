#pragma once
// A value's place among others as a share: (average rank - 1/2) / n, so n values spread
// evenly over (0, 1), ties share their mean rank, and a lone value stands at 1/2.

#include <optional>
#include <vector>

namespace el::engine {

// The rank percentile of every value among those present; a missing value gets 1/2, the
// middle, so that it pulls a risk neither way.
std::vector<double> rankPercentiles(const std::vector<std::optional<double>>& values);

}  // namespace el::engine
