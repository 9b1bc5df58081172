#pragma once
// Which region contains a point, fast: a grid of envelope cells over prepared geometries.
//
// Outline files hold rings that cross the antimeridian (consecutive nodes more than 180
// degrees of longitude apart) and polygons that are invalid as stored (self-touching
// rings, bow ties, wrong orientation). Each geometry added is first unwrapped (a polygon
// whose rings cross there and back has its negative longitudes moved by +360, when that
// makes it narrower; a ring around a pole crosses once and stays) and then made valid; a point is tested at its longitude and, when negative,
// at longitude + 360. A point on a shared edge goes to the region first in feature
// order (the lowest index) whose geometry touches it.

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include <ogr_geometry.h>

namespace el::gis {

class RegionLocator {
public:
    RegionLocator();
    ~RegionLocator();
    RegionLocator(const RegionLocator&) = delete;
    RegionLocator& operator=(const RegionLocator&) = delete;

    // Adds the geometry of region `index` (indices in feature order, 0, 1, 2, ...).
    // Throws GisError when it cannot be made valid.
    void add(std::size_t index, const OGRGeometry& lonLat);

    // Builds the envelope grid; call once after the last add().
    void finish();

    // The lowest index whose geometry contains or touches (lon, lat); empty for none. The
    // prepared geometries build their indexes on first use: one thread at a time.
    std::optional<std::size_t> regionAt(double lon, double lat) const;

private:
    struct Region;
    struct Grid;
    std::vector<std::unique_ptr<Region>> regions_;
    std::unique_ptr<Grid> grid_;
};

}  // namespace el::gis
