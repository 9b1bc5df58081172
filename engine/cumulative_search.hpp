#pragma once
// Inverse-CDF search over a cumulative table F(0..K-1) that never decreases: the first point
// whose value reaches a draw r, in constant expected time. A guide table over [0, 1) cut
// into equal buckets holds, for each bucket's lower edge, the first point that reaches it;
// a bucket whose edges lead to the same point answers without touching F at all.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace el::engine {

class CumulativeSearch {
public:
    CumulativeSearch() = default;
    // `cumulative` must not decrease and must hold fewer than 32768 points.
    explicit CumulativeSearch(std::vector<double> cumulative);

    // The first k with F(k) >= r; the last point when none reaches r (F(K-1) short of 1 by
    // rounding). The same point as a scan from the start.
    std::size_t firstReaching(double r) const {
        if (!(r >= 0 && r < 1)) return fallback(r);
        const std::uint16_t entry = guide_[static_cast<std::size_t>(r * kBuckets)];
        std::size_t k = entry & kIndexMask;
        if (entry & kResolved) return k;
        const std::size_t size = cumulative_.size();
        while (k < size && cumulative_[k] < r) ++k;
        return k < size ? k : size - 1;
    }

private:
    static constexpr std::size_t kBuckets = 2048;  // a power of two: r * kBuckets is exact
    static constexpr std::uint16_t kResolved = 0x8000;
    static constexpr std::uint16_t kIndexMask = 0x7fff;

    std::size_t fallback(double r) const;

    std::vector<double> cumulative_;
    std::vector<std::uint16_t> guide_;  // kBuckets entries
};

// The plain scan from the start: the reference for CumulativeSearch.
std::size_t firstReachingLinear(const std::vector<double>& cumulative, double r);

}  // namespace el::engine
