#include "engine/run/input_checks.hpp"

#include <algorithm>
#include <unordered_map>

#include "base/numtext.hpp"
#include "base/text.hpp"
#include "engine/kernels/status_matrix.hpp"
#include "engine/run/name_match.hpp"

namespace el::engine {
namespace {

constexpr std::size_t kNamesShown = 5;  // duplicated names named in the warning

bool contains(const std::vector<std::string>& list, const std::string& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

// The number of regions in which the variable holds a date.
int datedRegions(const vec::VectorData& data, int variable) {
    int dated = 0;
    for (const vec::VectorObject& object : data.objects) {
        const auto status = readStatus(object.values[static_cast<std::size_t>(variable)]);
        if (status && status->kind == StatusKind::Date) ++dated;
    }
    return dated;
}

std::string regionCount(int n) { return std::to_string(n) + (n == 1 ? " region" : " regions"); }

}  // namespace

std::optional<std::string> targetRefusal(const vec::VectorData& data, const std::vector<std::string>& species,
                                         const std::string& target) {
    if (target.empty() || contains(species, target)) return std::nullopt;
    if (variableNamed(data, target) >= 0)
        return "the target species \"" + target + "\" is not among the species analysed";
    return noSpeciesNamed(target, species);
}

std::vector<std::string> duplicatedRegionNames(const vec::VectorData& data) {
    std::unordered_map<std::string_view, int> seen;
    seen.reserve(data.objects.size());
    std::vector<std::string> repeated;
    for (const vec::VectorObject& object : data.objects)
        if (++seen[object.name] == 2) repeated.push_back(object.name);
    return repeated;
}

std::optional<std::string> duplicatedNamesWarning(const vec::VectorData& data) {
    const std::vector<std::string> repeated = duplicatedRegionNames(data);
    if (repeated.empty()) return std::nullopt;
    std::unordered_map<std::string_view, int> count;
    for (const vec::VectorObject& object : data.objects) ++count[object.name];
    std::string text = repeated.size() == 1 ? "1 region name is" : std::to_string(repeated.size()) + " region names are";
    text += " used more than once: ";
    for (std::size_t k = 0; k < repeated.size() && k < kNamesShown; ++k)
        text += (k == 0 ? "\"" : ", \"") + repeated[k] + "\" (" + regionCount(count[repeated[k]]) + ")";
    if (repeated.size() > kNamesShown) text += " and " + std::to_string(repeated.size() - kNamesShown) + " more";
    return text + "; regions are told apart by their place in the file, not by name";
}

std::vector<std::string> undatedSpeciesWarnings(const vec::VectorData& data, const std::vector<std::string>& species) {
    std::vector<std::string> warnings;
    for (const std::string& name : species) {
        const int variable = variableNamed(data, name);
        if (variable >= 0 && datedRegions(data, variable) == 0)
            warnings.push_back("the species \"" + name + "\" has no dated region (only keywords or missing "
                               "values): no date can be fitted or predicted for it");
    }
    return warnings;
}

std::optional<std::string> noValidationWarning(const vec::VectorData& data, const std::string& target,
                                               const std::string& trainingRatioText) {
    const int variable = target.empty() ? -1 : variableNamed(data, target);
    const auto ratio = parseNumber(trainingRatioText);
    if (variable < 0 || !ratio || *ratio >= 1) return std::nullopt;
    const int regions = data.objn();
    const int kept = trainingCount(*ratio, regions);
    const int dated = datedRegions(data, variable);
    if (dated > kept) return std::nullopt;  // the split hides regions without a date first
    return "the training share " + std::string(trimBlanks(trainingRatioText)) + " leaves no validation region for \"" +
           target + "\": it keeps " + std::to_string(kept) + " of the " + regionCount(regions) +
           " for training, and \"" + target + "\" has a date in only " + regionCount(dated) +
           " (only a hidden date validates the fit)";
}

}  // namespace el::engine
