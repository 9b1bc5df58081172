#pragma once
// A regions layer: the polygons (or other geometries) a records table or occurrence points
// are joined to, one per key. The key is a field's text ("008" stays "008", an integer
// field gives its decimal text); the geometry comes in longitude/latitude (EPSG:4326,
// longitude first) when the layer has a coordinate system, else as stored.
//
// The shapes are kept as the layer stores them (after reprojection); the locator holds a
// second, repaired copy used only to place points (see gis/region_locator.hpp).

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gis/region_locator.hpp"
#include "vector/records.hpp"

namespace el::gis {

struct RegionsLayer {
    std::map<std::string, vec::RegionShape> shapes;      // by key text
    std::vector<std::string> keys;                       // in feature order
    std::string keyField;                                // the field the keys came from
    std::string layerName;
    // Features left out: with an empty key, or without geometry (a region needs both).
    std::int64_t featuresWithoutKey = 0;
    std::int64_t featuresWithoutGeometry = 0;
    // Keys that several features share, each one region of all their parts, and how many
    // features they took.
    std::vector<std::string> sharedKeys;
    std::int64_t featuresJoined = 0;
    // Finds the region of a point: index into `keys`. Shared so a layer copies cheaply.
    std::shared_ptr<const RegionLocator> locator;
};

// Features whose key field is empty, or whose geometry is missing or empty, are left out
// and counted; features that share a key make one region of all their parts, in the order
// of the key's first feature.
// `layerName` empty: the only layer, or the first when the source holds several (the
// others are named in the error should the key field be missing from it). `keyField`
// empty: a field called "name" in any letter case. Throws GisError naming the source,
// layer, feature, field or key at fault.
RegionsLayer readRegionsLayer(const std::filesystem::path& source, const std::string& layerName,
                              const std::string& keyField);

// What the summary line adds about the layer: "; 5 features of the regions layer with an
// empty \"id\" left out" and the like, or "" when every feature is a region of its own.
std::string layerNote(const RegionsLayer& layer);

}  // namespace el::gis
