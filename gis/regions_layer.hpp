#pragma once
// A regions layer: the polygons (or other geometries) a records table or occurrence points
// are joined to, one per key. The key is a field's text ("008" stays "008", an integer
// field gives its decimal text); the geometry comes in longitude/latitude (EPSG:4326,
// longitude first) when the layer has a coordinate system, else as stored.
//
// The shapes are kept as the layer stores them (after reprojection); the locator holds a
// second, repaired copy used only to place points (see gis/region_locator.hpp).

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
    // Finds the region of a point: index into `keys`. Shared so a layer copies cheaply.
    std::shared_ptr<const RegionLocator> locator;
};

// `layerName` empty: the only layer, or the first when the source holds several (the
// others are named in the error should the key field be missing from it). `keyField`
// empty: a field called "name" in any letter case. Throws GisError naming the source,
// layer, feature, field or key at fault.
RegionsLayer readRegionsLayer(const std::filesystem::path& source, const std::string& layerName,
                              const std::string& keyField);

}  // namespace el::gis
