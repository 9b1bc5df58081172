#include "engine/risk/reach_table.hpp"

#include "base/feedback.hpp"
#include "base/messenger.hpp"

namespace el::engine {

bool ReachTable::reachedBy(int species, int region, double cutoff) const {
    const Status& s = at(species, region);
    return (s.kind == StatusKind::Date && s.date <= cutoff) || s.kind == StatusKind::Arrived;
}

bool ReachTable::unreachedAt(int species, int region, double cutoff) const {
    const Status& s = at(species, region);
    return (s.kind == StatusKind::Date && s.date > cutoff) || s.kind == StatusKind::NotYetArrived;
}

bool ReachTable::newlyReached(int species, int region, double after, double upTo) const {
    const Status& s = at(species, region);
    return s.kind == StatusKind::Date && s.date > after && s.date <= upTo;
}

int ReachTable::reachedCount(int species, double cutoff) const {
    int count = 0;
    for (int r = 0; r < regions_; ++r) count += reachedBy(species, r, cutoff) ? 1 : 0;
    return count;
}

int ReachTable::unreachedCount(int species, double cutoff) const {
    int count = 0;
    for (int r = 0; r < regions_; ++r) count += unreachedAt(species, r, cutoff) ? 1 : 0;
    return count;
}

int ReachTable::newlyReachedCount(int species, double after, double upTo) const {
    int count = 0;
    for (int r = 0; r < regions_; ++r) count += newlyReached(species, r, after, upTo) ? 1 : 0;
    return count;
}

ReachTable buildReachTable(const vec::VectorData& data, const std::vector<std::string>& species,
                           const std::string& missvalue) {
    // The run's own reading of the values, so a value the run refuses is refused here in the
    // same words; its warnings about missing values are the run's to show, not this table's.
    MessageList quiet;
    Feedback none;
    const SpeciesTable table = buildSpeciesTable(data, species, "");
    StatusMatrix matrix = buildStatusMatrix(data, table, missvalue, quiet, none);
    return ReachTable(matrix.regions, matrix.species, std::move(matrix.cell));
}

std::optional<double> latestDate(const ReachTable& table) {
    std::optional<double> latest;
    for (int r = 0; r < table.regions(); ++r)
        for (int s = 0; s < table.species(); ++s) {
            const Status& status = table.at(s, r);
            if (status.kind == StatusKind::Date && (!latest || status.date > *latest)) latest = status.date;
        }
    return latest;
}

}  // namespace el::engine
