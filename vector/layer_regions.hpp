#pragma once
// A regions layer's features as regions: one region per key. Features without a key or
// without geometry are left out and counted; features that share a key make one region of
// all their parts (world outline files give a country and its far islands the same code).
// The GIS reader and the R package both build their regions so, and say it in the same
// clause of the summary line.

#include <cstdint>
#include <string>
#include <vector>

#include "vector/records.hpp"

namespace el::vec {

struct LayerCounts {
    std::string keyField;  // the field the keys came from
    std::int64_t featuresWithoutKey = 0;
    std::int64_t featuresWithoutGeometry = 0;
    std::vector<std::string> sharedKeys;  // each one region of several features, in key order
    std::int64_t featuresJoined = 0;      // the features those keys took
};

// "; 5 features of the regions layer with an empty "id" left out; 2 features of the regions
// layer joined into 1 region by their shared "id": "036"", or "" when nothing was left out
// or joined.
std::string layerNote(const LayerCounts& counts);

// One region of the parts of `joined` then those of `piece`: two surfaces ("polygon",
// "area") make an "area", two lines ("line", "tree") a "tree", the part labels those of an
// area's outer rings and a tree's lines. Throws RecordsError, `what` naming the region at
// its front, for any other pair (points, or a surface with a line).
RegionShape joinedShape(const RegionShape& joined, const RegionShape& piece, const std::string& what);

}  // namespace el::vec
