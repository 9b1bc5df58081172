#pragma once
// Inverse-CDF search over cumulative tables F(0..K-1) that never decrease: the first point
// whose value reaches a draw r, in constant expected time. A guide table over [0, 1) cut
// into equal buckets holds, for each bucket's lower edge, the first point that reaches it;
// a bucket whose edges lead to the same point answers without touching F at all. Many
// tables live side by side in a few flat arrays, so the trials look one up without
// following a pointer of its own.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace el::engine {

class CumulativeSearch {
public:
    CumulativeSearch() = default;
    // One table (number 0).
    explicit CumulativeSearch(const std::vector<double>& cumulative) { add(cumulative); }

    // Adds a table and returns its number. `cumulative` must not decrease and must hold
    // from 1 to 32767 points.
    std::size_t add(const std::vector<double>& cumulative);
    std::size_t tables() const { return start_.size(); }

    // The first k with F(k) >= r in table `table`; its last point when none reaches r
    // (F(K-1) short of 1 by rounding). The same point as a scan from the start.
    std::size_t firstReaching(std::size_t table, double r) const {
        if (!(r >= 0 && r < 1)) return fallback(table, r);
        const std::uint16_t entry = guide_[table * kBuckets + static_cast<std::size_t>(r * kBuckets)];
        std::size_t k = entry & kIndexMask;
        if (entry & kResolved) return k;
        const double* f = cumulative_.data() + start_[table];
        const std::size_t size = size_[table];
        while (k < size && f[k] < r) ++k;
        return k < size ? k : size - 1;
    }
    std::size_t firstReaching(double r) const { return firstReaching(0, r); }

private:
    static constexpr std::size_t kBuckets = 2048;  // a power of two: r * kBuckets is exact
    static constexpr std::uint16_t kResolved = 0x8000;
    static constexpr std::uint16_t kIndexMask = 0x7fff;

    std::size_t fallback(std::size_t table, double r) const;

    std::vector<double> cumulative_;    // every table's points, one table after the other
    std::vector<std::size_t> start_;    // per table: where its points start
    std::vector<std::uint32_t> size_;   // per table: how many points it has
    std::vector<std::uint16_t> guide_;  // per table: kBuckets entries
};

// The plain scan from the start: the reference for CumulativeSearch.
std::size_t firstReachingLinear(const std::vector<double>& cumulative, double r);

}  // namespace el::engine
