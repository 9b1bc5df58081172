#include "engine/pass/pass_result.hpp"

namespace el::engine {
namespace {

bool hasDate(const Status& status) { return status.kind == StatusKind::Date; }

RegionRole roleOf(const PassInput& in, int k) {
    if (in.table.target) {
        if (hasDate(in.status.statusAt(k, *in.table.target))) return RegionRole::Training;
        return hasDate(in.status.actual[static_cast<std::size_t>(k)]) ? RegionRole::Validation : RegionRole::Other;
    }
    for (int j = 0; j < in.status.species; ++j)
        if (hasDate(in.status.statusAt(k, j))) return RegionRole::Training;
    return RegionRole::Other;
}

}  // namespace

std::vector<RegionRole> regionRoles(const PassInput& input, const std::vector<int>& regno) {
    const auto regions = static_cast<std::size_t>(input.status.regions);
    std::vector<RegionRole> role(regions, RegionRole::Excluded);
    for (int k : regno) role[static_cast<std::size_t>(k)] = roleOf(input, k);
    return role;
}

RunResult resultOfPass(const PassInput& input, PassOutcome last) {
    RunResult result;
    result.regionNames = input.regionNames;
    result.regno = std::move(last.used.regno);
    result.score = std::move(last.score);
    result.scoreIteration = last.scoreIteration;
    result.order = std::move(last.order);
    result.regionviable = input.regionviable;
    result.trials = std::move(last.trials);
    result.speciesNames = input.table.name;
    result.target = input.targetIndex();
    result.weights = std::move(last.weights);
    result.species = std::move(last.species);
    result.role = regionRoles(input, result.regno);

    const auto regions = static_cast<std::size_t>(input.status.regions);
    result.actualText.assign(regions, std::string());
    result.actualDate.assign(regions, std::nullopt);
    if (!input.table.target) return result;
    for (std::size_t k = 0; k < regions; ++k) {
        result.actualText[k] = input.status.actualText[k];
        if (hasDate(input.status.actual[k])) result.actualDate[k] = input.status.actual[k].date;
    }
    return result;
}

}  // namespace el::engine
