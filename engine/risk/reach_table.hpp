#pragma once
// What the data known at the as-of year say of each species analysed in each region, and
// how a species stood at an earlier cut-off c:
//   reached by c    a date up to c, or "Arrived" (recorded, at an unknown date);
//   unreached at c  a date after c, or "NotYetArrived";
//   newly reached in (a, b]  a date after a and up to b.
// "Unknown" (and a missing value) is neither reached nor unreached at any cut-off.

#include <optional>
#include <string>
#include <vector>

#include "engine/kernels/status_matrix.hpp"
#include "vector/vector_data.hpp"

namespace el::engine {

class ReachTable {
public:
    ReachTable(int regions, int species, std::vector<Status> cells)
        : regions_(regions), species_(species), cells_(std::move(cells)) {}

    int regions() const { return regions_; }
    int species() const { return species_; }
    const Status& at(int species, int region) const {
        return cells_[static_cast<std::size_t>(region) * static_cast<std::size_t>(species_) +
                      static_cast<std::size_t>(species)];
    }

    bool reachedBy(int species, int region, double cutoff) const;
    bool unreachedAt(int species, int region, double cutoff) const;
    bool newlyReached(int species, int region, double after, double upTo) const;

    int reachedCount(int species, double cutoff) const;
    int unreachedCount(int species, double cutoff) const;
    int newlyReachedCount(int species, double after, double upTo) const;

private:
    int regions_;
    int species_;
    std::vector<Status> cells_;  // [region * species + s]
};

// The table of `data` for `species` (in list order), missing values as "Unknown". Throws
// RunError naming the region and species of a value that is neither a keyword nor a number.
ReachTable buildReachTable(const vec::VectorData& data, const std::vector<std::string>& species,
                           const std::string& missvalue);

// The latest date of any species in the table; nothing when it holds no date.
std::optional<double> latestDate(const ReachTable& table);

}  // namespace el::engine
