#include "engine/run/name_match.hpp"

#include <algorithm>

namespace el::engine {
namespace {

constexpr std::size_t kNamesListed = 5;  // names shown when none is close

std::string quotedList(const std::vector<std::string>& names, std::size_t from, std::size_t to,
                       const std::string& last) {
    std::string text;
    for (std::size_t k = from; k < to; ++k)
        text += (k == from ? "" : k + 1 == to ? last : ", ") + ("\"" + names[k] + "\"");
    return text;
}

}  // namespace

std::string noSpeciesNamed(const std::string& given, const std::vector<std::string>& names) {
    std::string text = "no species named \"" + given + "\"";
    const std::vector<std::string> near = closestNames(given, names);
    if (!near.empty()) return text + "; " + didYouMean(near);
    if (names.empty()) return text + "; there is no species";
    const std::size_t shown = std::min(names.size(), kNamesListed);
    text += "; the species are " + quotedList(names, 0, shown, shown == names.size() ? " and " : ", ");
    if (shown < names.size()) text += " and " + std::to_string(names.size() - shown) + " more";
    return text;
}

}  // namespace el::engine
