#include "engine/kernels/cumulative_search.hpp"

#include <algorithm>
#include <stdexcept>

namespace el::engine {

std::size_t CumulativeSearch::add(const std::vector<double>& cumulative) {
    const std::size_t size = cumulative.size();
    if (size == 0 || size > 0xffff) throw std::length_error("cumulative table of unsupported size");
    // first[b]: the first point reaching b / kBuckets (size when none does), b = 0..kBuckets.
    std::vector<std::size_t> first(kBuckets + 1);
    std::size_t k = 0;
    for (std::size_t b = 0; b <= kBuckets; ++b) {
        const double edge = static_cast<double>(b) / kBuckets;
        while (k < size && cumulative[k] < edge) ++k;
        first[b] = k;
    }
    // Every r in [b, b + 1) / kBuckets lands between first[b] and first[b + 1] (or on the
    // last point, when no point reaches r).
    for (std::size_t b = 0; b <= kBuckets; ++b) guide_.push_back(static_cast<std::uint16_t>(std::min(first[b], size - 1)));
    start_.push_back(cumulative_.size());
    size_.push_back(static_cast<std::uint32_t>(size));
    cumulative_.insert(cumulative_.end(), cumulative.begin(), cumulative.end());
    return start_.size() - 1;
}

std::size_t firstReachingLinear(const std::vector<double>& cumulative, double r) {
    for (std::size_t k = 0; k < cumulative.size(); ++k)
        if (cumulative[k] >= r) return k;
    return cumulative.empty() ? 0 : cumulative.size() - 1;
}

}  // namespace el::engine
