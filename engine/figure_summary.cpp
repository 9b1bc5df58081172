#include "engine/figure_summary.hpp"

namespace el::engine {

void addFigureData(RunSummary& summary, const SpeciesTable& table, const StatusMatrix& status,
                   const std::vector<std::string>& regionNames, const std::vector<SpeciesFit>& fits) {
    summary.speciesNames = table.name;
    summary.target = table.target.value_or(-1);
    summary.regionNames = regionNames;
    summary.fits = fits;

    const int regions = status.regions;
    std::vector<bool> used(static_cast<std::size_t>(regions), false);
    for (int k : summary.regno)
        if (k >= 0 && k < regions) used[static_cast<std::size_t>(k)] = true;

    summary.actualDate.assign(static_cast<std::size_t>(regions), std::nullopt);
    summary.actualText.assign(static_cast<std::size_t>(regions), std::string());
    summary.role.assign(static_cast<std::size_t>(regions), RegionRole::Other);
    for (int k = 0; k < regions; ++k) {
        const auto at = static_cast<std::size_t>(k);
        if (table.target && at < status.actual.size() && status.actual[at].kind == StatusKind::Date)
            summary.actualDate[at] = status.actual[at].date;
        if (table.target && at < status.actualText.size()) summary.actualText[at] = status.actualText[at];
        RegionRole role = RegionRole::Other;
        if (!used[at]) {
            role = RegionRole::Excluded;
        } else if (table.target) {
            if (status.statusAt(k, *table.target).kind == StatusKind::Date) role = RegionRole::Training;
            else if (summary.actualDate[at]) role = RegionRole::Validation;
        } else {
            for (int j = 0; j < status.species; ++j)
                if (status.statusAt(k, j).kind == StatusKind::Date) role = RegionRole::Training;
        }
        summary.role[at] = role;
    }
}

long long powerStepCount(double first, double last) {
    long long count = 0;
    for (double p = first; p <= last; p += 0.1) ++count;
    return count;
}

}  // namespace el::engine
