#pragma once
// Inverse-CDF search over cumulative tables F(0..K-1) that never decrease: the first point
// whose value reaches a draw r. A guide table over [0, 1) cut into equal buckets holds, for
// each bucket's edge, the first point that reaches it (the last point where none does): a
// bucket whose edges lead to the same point answers without touching F, one whose edges
// lead to neighbours with one comparison, any other by halves between its edges. Many
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
    // from 1 to 65535 points.
    std::size_t add(const std::vector<double>& cumulative);
    std::size_t tables() const { return start_.size(); }

    static constexpr std::size_t kBuckets = 2048;  // a power of two: r * kBuckets is exact
    static constexpr std::size_t kGuide = kBuckets + 1;  // guide entries per table: both edges of every bucket

    // One table, for many look-ups one after the other.
    class Table {
    public:
        // The first k with F(k) >= r; the last point when none reaches r (F(K-1) short of 1
        // by rounding). The same point as a scan from the start.
        std::size_t firstReaching(double r) const {
            if (!(r >= 0 && r < 1)) return scanFromStart(r);
            const std::size_t bucket = static_cast<std::size_t>(r * kBuckets);
            const std::size_t from = guide_[bucket], to = guide_[bucket + 1];
            if (to - from > 1) return between(from, to, r);
            // The edges lead to one point, or to two neighbours: no branch to mispredict.
            return from + static_cast<std::size_t>((to > from) & (cumulative_[from] < r));
        }

    private:
        friend class CumulativeSearch;
        Table(const std::uint16_t* guide, const double* cumulative, std::size_t size)
            : guide_(guide), cumulative_(cumulative), size_(size) {}
        std::size_t scanFromStart(double r) const {
            for (std::size_t k = 0; k < size_; ++k)
                if (cumulative_[k] >= r) return k;
            return size_ - 1;
        }
        // The first k in [from, to) with F(k) >= r, else `to`; `to` is the point of the
        // bucket's upper edge (or the last point), which reaches r or is the answer anyway.
        std::size_t between(std::size_t from, std::size_t to, double r) const {
            // Without branches (a draw goes either way): below is 0 or 1, and the arithmetic
            // on counts wraps as unsigned arithmetic does, so count - 1 - half comes out right.
            for (std::size_t count = to - from; count > 0;) {
                const std::size_t half = count / 2;
                const std::size_t below = cumulative_[from + half] < r;
                from += (half + 1) * below;
                count = half + (count - 2 * half - 1) * below;
            }
            return from;
        }
        const std::uint16_t* guide_;
        const double* cumulative_;
        std::size_t size_;
    };

    Table table(std::size_t table) const {
        return {guide_.data() + table * kGuide, cumulative_.data() + start_[table], size_[table]};
    }
    std::size_t firstReaching(std::size_t table, double r) const { return this->table(table).firstReaching(r); }
    std::size_t firstReaching(double r) const { return firstReaching(0, r); }

private:
    std::vector<double> cumulative_;    // every table's points, one table after the other
    std::vector<std::size_t> start_;    // per table: where its points start
    std::vector<std::uint32_t> size_;   // per table: how many points it has
    std::vector<std::uint16_t> guide_;  // per table: kGuide entries
};

// The plain scan from the start: the reference for CumulativeSearch.
std::size_t firstReachingLinear(const std::vector<double>& cumulative, double r);

}  // namespace el::engine
