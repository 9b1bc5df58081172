#include "engine/run/skill.hpp"

#include <stdexcept>

#include "engine/kernels/status_matrix.hpp"
#include "engine/model/prediction.hpp"

namespace el::engine {
namespace {

// The status of every region for `variable` as the data set records it; nothing where the
// text is neither a keyword nor a number (a missing value).
std::vector<std::optional<Status>> recordedStatus(const vec::VectorData& data, int variable) {
    std::vector<std::optional<Status>> out(data.objects.size());
    if (variable < 0) return out;
    for (std::size_t k = 0; k < out.size(); ++k)
        out[k] = readStatus(data.objects[k].values[static_cast<std::size_t>(variable)]);
    return out;
}

std::optional<double> latestDate(const std::vector<std::optional<Status>>& status) {
    std::optional<double> latest;
    for (const auto& s : status)
        if (s && s->kind == StatusKind::Date && (!latest || s->date > *latest)) latest = s->date;
    return latest;
}

// Counts the used regions not yet reached and marks those predicted by the latest date.
void countOverdue(const RunResult& result, const SpeciesOutcome& outcome,
                  const std::vector<std::optional<Status>>& status, SpeciesSkill& skill) {
    int overdue = 0;
    for (std::size_t p = 0; p < result.regno.size(); ++p) {
        const auto k = static_cast<std::size_t>(result.regno[p]);
        if (k >= status.size() || !status[k] || status[k]->kind != StatusKind::NotYetArrived) continue;
        ++skill.notYetArrived;
        if (!outcome.fit.predictable || !skill.latestDate || p >= outcome.predicted.size()) continue;
        if (outcome.predicted[p] <= *skill.latestDate) {
            skill.overdueRegion[k] = true;
            ++overdue;
        }
    }
    // Without a fitted line (or a date to compare with) no region can be called overdue.
    if (!outcome.fit.predictable || !skill.latestDate) return;
    skill.overdue = overdue;
    if (skill.notYetArrived > 0) skill.overdueShare = static_cast<double>(overdue) / skill.notYetArrived;
}

}  // namespace

SpeciesSkill speciesSkill(const vec::VectorData& data, const RunResult& result, int species) {
    if (species < 0 || static_cast<std::size_t>(species) >= result.species.size() ||
        static_cast<std::size_t>(species) >= result.speciesNames.size())
        throw std::out_of_range("The run has no species at position " + std::to_string(species));
    const auto j = static_cast<std::size_t>(species);
    const SpeciesOutcome& outcome = result.species[j];
    SpeciesSkill skill;
    skill.species = result.speciesNames[j];
    skill.predictable = outcome.fit.predictable;
    if (outcome.fit.rt != kNotComputable) skill.rTraining = outcome.fit.rt;
    skill.noSkill = !skill.predictable || !skill.rTraining || !(*skill.rTraining > 0);
    const auto status = recordedStatus(data, variableNamed(data, skill.species));
    skill.latestDate = latestDate(status);
    skill.overdueRegion.assign(data.objects.size(), false);
    countOverdue(result, outcome, status, skill);
    return skill;
}

std::optional<SpeciesSkill> targetSkill(const vec::VectorData& data, const RunResult& result) {
    if (result.status != RunStatus::Completed || result.target < 0) return std::nullopt;
    return speciesSkill(data, result, result.target);
}

}  // namespace el::engine
