#pragma once
// The table's regions that the regions layer has no feature for, refused with the names the
// user may have meant: "Czech Republic" beside the layer's "Czechia" is a slip of naming, not
// a region the layer lacks.

#include <functional>
#include <string>
#include <vector>

#include "gis/regions_layer.hpp"
#include "vector/records.hpp"

namespace el::gis {

// The names a region (with its join key) may have meant.
using Suggest = std::function<std::vector<std::string>(const std::string& region, const std::string& key)>;

// The layer's keys nearest to the region's key.
Suggest nearestKeys(const RegionsLayer& layer);

// Throws RecordsError listing every region of `records` whose key the layer lacks, each with
// its suggestions, when at least one has a suggestion; else returns (the records builder
// then refuses or drops them as it is asked).
void refuseUnmatchedWithSuggestions(const std::vector<vec::Record>& records, const RegionsLayer& layer,
                                    const Suggest& suggest);

}  // namespace el::gis
