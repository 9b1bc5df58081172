#include "gis/records_join.hpp"

#include <algorithm>
#include <memory>

#include "base/name_match.hpp"
#include "gis/country_codes_file.hpp"
#include "gis/country_join.hpp"
#include "gis/gis_error.hpp"
#include "gis/unmatched_regions.hpp"
#include "vector/records_subset.hpp"

namespace el::gis {
namespace {

// The names of the countries whose codes the layer holds, nearest to the region's name.
Suggest nearestCountries(const RegionsLayer& layer, const CountryNames& countries, CountryCodeKind kind) {
    auto names = std::make_shared<std::vector<std::string>>();
    for (const Country& country : countries.countries())
        if (!layerKeyOfCode(country.code(kind), layer.shapes).empty()) names->push_back(country.names.front());
    return [names](const std::string& region, const std::string&) { return closestNames(region, *names); };
}

// The layer's keys nearest to the region's, and those that name the same country ("Czechia"
// for "Czech Republic"), when the iso-codes data is at hand.
Suggest nearestKeysOrSameCountry(const RegionsLayer& layer) {
    struct Loaded {
        bool tried = false;
        std::unique_ptr<CountryNames> countries;
    };
    auto loaded = std::make_shared<Loaded>();
    return [&layer, loaded, near = nearestKeys(layer)](const std::string& region, const std::string& key) {
        std::vector<std::string> found = near(region, key);
        if (!loaded->tried) {
            loaded->tried = true;
            try {
                loaded->countries = std::make_unique<CountryNames>(readIsoCountries(isoCountriesFile()));
            } catch (const GisError&) {
                // No country data: the nearest spellings only.
            }
        }
        const Country* wanted = loaded->countries ? loaded->countries->find(key) : nullptr;
        if (wanted == nullptr) return found;
        for (const std::string& candidate : layer.keys)
            if (loaded->countries->find(candidate) == wanted &&
                std::find(found.begin(), found.end(), candidate) == found.end())
                found.push_back(candidate);
        return found;
    };
}

Suggest suggestionsFor(const RegionsLayer& layer, const vec::RecordsSource& source, std::vector<vec::Record>& records) {
    const std::optional<CountryCodeKind> kind = countryCodeKindOf(source.countryCodes);
    if (!kind) return nearestKeysOrSameCountry(layer);
    const CountryNames countries(readIsoCountries(isoCountriesFile()));
    joinCountryCodes(records, countries, *kind, layer.shapes, source.columns.key);
    return nearestCountries(layer, countries, *kind);
}

}  // namespace

std::vector<std::string> joinRecords(std::vector<vec::Record>& records, const vec::RecordsSource& source,
                                     const RegionsLayer* layer) {
    std::vector<std::string> notes;
    Suggest suggest;
    if (layer != nullptr) suggest = suggestionsFor(*layer, source, records);
    const auto joined = [layer](const vec::Record& record) {
        return layer == nullptr || layer->shapes.count(record.joinKey()) > 0;
    };
    if (std::string note = vec::keepSpeciesInRegions(records, source.minRegions, joined, source.keptSpecies);
        !note.empty())
        notes.push_back(std::move(note));
    if (layer != nullptr && !source.dropUnmatched) refuseUnmatchedWithSuggestions(records, *layer, suggest);
    return notes;
}

}  // namespace el::gis
