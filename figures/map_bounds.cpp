#include "figures/map_bounds.hpp"

#include <algorithm>
#include <cmath>

namespace el::figures {

void MapBounds::add(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    minX = std::min(minX, x), maxX = std::max(maxX, x);
    minY = std::min(minY, y), maxY = std::max(maxY, y);
}

void MapBounds::add(const MapBounds& other) {
    if (other.empty()) return;
    add(other.minX, other.minY);
    add(other.maxX, other.maxY);
}

MapBounds boundsOf(const vec::VectorPart& part) {
    MapBounds bounds;
    for (std::size_t k = 0; k < part.x.size() && k < part.y.size(); ++k) bounds.add(part.x[k], part.y[k]);
    return bounds;
}

MapBounds boundsOf(const vec::VectorData& data) {
    MapBounds bounds;
    for (const auto& object : data.objects)
        for (const auto& part : object.parts) bounds.add(boundsOf(part));
    return bounds;
}

bool isLonLat(const MapBounds& b) {
    return !b.empty() && b.minX >= -180 && b.maxX <= 360 && b.minY >= -90 && b.maxY <= 90;
}

}  // namespace el::figures
