#include "engine/overdue.hpp"

#include <algorithm>
#include <cmath>

#include "engine/status_matrix.hpp"

namespace el::engine {

std::optional<double> latestTargetDate(const RunResult& run) {
    if (run.target < 0) return std::nullopt;
    std::optional<double> latest;
    for (const auto& date : run.actualDate)
        if (date && std::isfinite(*date)) latest = latest ? std::max(*latest, *date) : *date;
    return latest;
}

std::vector<bool> overdueRegions(const RunResult& run) {
    std::vector<bool> overdue(run.actualText.size(), false);
    const auto latest = latestTargetDate(run);
    if (!latest || static_cast<std::size_t>(run.target) >= run.species.size()) return overdue;
    const SpeciesOutcome& target = run.species[static_cast<std::size_t>(run.target)];
    if (!target.fit.predictable) return overdue;
    for (std::size_t p = 0; p < run.regno.size() && p < target.predicted.size(); ++p) {
        const auto k = static_cast<std::size_t>(run.regno[p]);
        if (k >= overdue.size() || keywordKind(run.actualText[k]) != StatusKind::NotYetArrived) continue;
        overdue[k] = target.predicted[p] <= *latest;
    }
    return overdue;
}

}  // namespace el::engine
