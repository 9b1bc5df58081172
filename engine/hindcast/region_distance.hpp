#pragma once
// Where a region lies and how far apart two regions are, for the distance baseline of a
// hindcast: a region's centroid, and the great-circle distance on a sphere of radius
// 6371 km when the file's coordinates are longitudes and latitudes, else the plane distance.

#include <optional>
#include <vector>

#include "vector/vector_data.hpp"

namespace el::engine {

struct PlanePoint {
    double x = 0, y = 0;
};

// The centroid of the part that stands for the region (region_geometry.hpp): the
// area-weighted centroid of the largest ring of an area, tree or polygon, the length-weighted
// centroid of the longest part of a line (or of a tree whose rings enclose no area), the mean
// of that part's nodes when it has neither area nor length; the mean of every node of a point
// region. With `lonLat`, a ring that crosses the antimeridian is unwrapped first and the
// centroid's longitude brought back into -180..180. Nothing for an object without a finite node.
std::optional<PlanePoint> regionCentroid(const vec::VectorObject& object, bool lonLat = false);

// True when the data set has nodes and every x lies within -180..360 and every y within -90..90.
bool coordinatesAreLonLat(const vec::VectorData& data);

// Kilometres along the sphere of radius 6371 km between two (longitude, latitude) points in degrees.
double greatCircleKm(const PlanePoint& a, const PlanePoint& b);

// Where the regions of a data set lie: every region's centroid (by region number) and
// whether the coordinates are longitudes and latitudes, which picks the measure of distance.
struct RegionCentres {
    std::vector<std::optional<PlanePoint>> centre;
    bool lonLat = false;
};
RegionCentres regionCentres(const vec::VectorData& data);

// For every region (by region number): the distance from its centroid to the nearest
// centroid of a region in `sources`; nothing when it has no centroid or no source has one.
std::vector<std::optional<double>> distanceToNearest(const RegionCentres& regions, const std::vector<bool>& sources);

}  // namespace el::engine
