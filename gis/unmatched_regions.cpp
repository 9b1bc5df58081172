#include "gis/unmatched_regions.hpp"

#include <algorithm>
#include <map>

#include "base/name_match.hpp"
#include "vector/records_error.hpp"

namespace el::gis {
namespace {

// A code ("099", "CZ") is no name to misspell: its neighbours by edit distance are other
// codes, not what the user meant.
bool looksLikeCode(const std::string& key) {
    return key.size() < 4 || std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

Suggest nearestKeys(const RegionsLayer& layer) {
    return [&layer](const std::string&, const std::string& key) {
        return looksLikeCode(key) ? std::vector<std::string>{} : closestNames(key, layer.keys);
    };
}

void refuseUnmatchedWithSuggestions(const std::vector<vec::Record>& records, const RegionsLayer& layer,
                                    const Suggest& suggest) {
    std::map<std::string, bool> seen;
    std::vector<std::string> listed;
    bool anySuggestion = false;
    for (const vec::Record& record : records) {
        const std::string& key = record.joinKey();
        if (layer.shapes.count(key) > 0 || !seen.emplace(record.region, true).second) continue;
        std::string entry = "\"" + (key == record.region ? record.region : record.region + " (key " + key + ")") + "\"";
        const std::vector<std::string> near = suggest(record.region, key);
        if (!near.empty()) entry += " (" + didYouMean(near) + ")";
        anySuggestion = anySuggestion || !near.empty();
        listed.push_back(std::move(entry));
    }
    if (!anySuggestion) return;
    std::string text = std::to_string(listed.size()) + " region(s) of the table have no feature in the regions layer: ";
    for (std::size_t k = 0; k < listed.size(); ++k) text += (k == 0 ? "" : ", ") + listed[k];
    throw vec::RecordsError(text + " (--drop-unmatched leaves them out)");
}

}  // namespace el::gis
