#include "engine/cumulative_search.hpp"

#include <algorithm>
#include <stdexcept>

namespace el::engine {

CumulativeSearch::CumulativeSearch(std::vector<double> cumulative) : cumulative_(std::move(cumulative)) {
    const std::size_t size = cumulative_.size();
    if (size == 0 || size > kIndexMask) throw std::length_error("cumulative table of unsupported size");
    // first[b]: the first point reaching b / kBuckets (size when none does), b = 0..kBuckets.
    std::vector<std::size_t> first(kBuckets + 1);
    std::size_t k = 0;
    for (std::size_t b = 0; b <= kBuckets; ++b) {
        const double edge = static_cast<double>(b) / kBuckets;
        while (k < size && cumulative_[k] < edge) ++k;
        first[b] = k;
    }
    guide_.resize(kBuckets);
    for (std::size_t b = 0; b < kBuckets; ++b) {
        // Every r in [b, b + 1) / kBuckets lands between first[b] and first[b + 1]; when both
        // are the same existing point, that point is the answer.
        const bool resolved = first[b] == first[b + 1] && first[b] < size;
        const std::size_t start = std::min(first[b], size - 1);
        guide_[b] = static_cast<std::uint16_t>(start | (resolved ? kResolved : 0));
    }
}

std::size_t CumulativeSearch::fallback(double r) const { return firstReachingLinear(cumulative_, r); }

std::size_t firstReachingLinear(const std::vector<double>& cumulative, double r) {
    for (std::size_t k = 0; k < cumulative.size(); ++k)
        if (cumulative[k] >= r) return k;
    return cumulative.empty() ? 0 : cumulative.size() - 1;
}

}  // namespace el::engine
