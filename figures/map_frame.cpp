#include "figures/map_frame.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/hindcast/region_distance.hpp"
#include "engine/hindcast/region_geometry.hpp"

namespace el::figures {
namespace {

// A frame that holds a single point, or a line along an axis, is widened to show something.
MapBounds widened(MapBounds frame, double pad) {
    const double reach = std::max({frame.width(), frame.height(), std::fabs(frame.minX), std::fabs(frame.minY)});
    const double least = std::max(pad, reach > 0 ? reach * 0.05 : 1.0);
    if (frame.width() <= 0) frame.minX -= least / 2, frame.maxX += least / 2;
    if (frame.height() <= 0) frame.minY -= least / 2, frame.maxY += least / 2;
    return frame;
}

MapBounds grownByShare(MapBounds b, double share) {
    const double dx = b.width() * share, dy = b.height() * share;
    b.minX -= dx, b.maxX += dx, b.minY -= dy, b.maxY += dy;
    return b;
}

bool lies(const MapBounds& inner, const MapBounds& outer) {
    return !inner.empty() && inner.minX >= outer.minX && inner.maxX <= outer.maxX && inner.minY >= outer.minY &&
           inner.maxY <= outer.maxY;
}

// The region's other parts (an island off its coast) that lie near the frame.
void addNearParts(MapBounds& frame, const vec::VectorObject& object, const MapBounds& near) {
    const auto main = engine::mainPartIndex(object, false);
    if (!main) return;
    for (std::size_t p = 0; p < object.parts.size(); ++p) {
        if (p == *main || engine::isHolePart(object.parts[p])) continue;
        const MapBounds box = boundsOf(object.parts[p]);
        if (lies(box, near)) frame.add(box);
    }
}

}  // namespace

std::optional<double> regionSize(const vec::VectorObject& object) {
    const auto main = engine::mainPartIndex(object, false);
    if (!main) return std::nullopt;
    const vec::VectorPart& part = object.parts[*main];
    const double area = engine::hasRings(object) ? engine::ringArea(part) : 0;
    const double size = area > 0 ? std::sqrt(area) : engine::lineLength(part);
    if (!std::isfinite(size) || !(size > 0)) return std::nullopt;
    return size;
}

double typicalRegionSize(const vec::VectorData& data) {
    std::vector<double> sizes;
    for (const vec::VectorObject& object : data.objects)
        if (const auto size = regionSize(object)) sizes.push_back(*size);
    if (sizes.empty()) return 0;
    const auto middle = sizes.begin() + static_cast<std::ptrdiff_t>(sizes.size() / 2);
    std::nth_element(sizes.begin(), middle, sizes.end());
    if (sizes.size() % 2 == 1) return *middle;
    return (*middle + *std::max_element(sizes.begin(), middle)) / 2;
}

MapBounds regionsFrame(const vec::VectorData& data, bool wholeRegions) {
    const double typical = typicalRegionSize(data);
    MapBounds centres, frame;
    std::vector<MapBounds> large;  // the main parts of the regions larger than ordinary
    for (const vec::VectorObject& object : data.objects) {
        if (const auto c = engine::regionCentroid(object)) centres.add(c->x, c->y);
        const auto main = engine::mainPartIndex(object, false);
        if (!main) {  // a point region: every node stands for it
            for (const vec::VectorPart& part : object.parts) frame.add(boundsOf(part));
            continue;
        }
        const auto size = regionSize(object);
        if (!size || *size <= kOrdinarySize * typical) frame.add(boundsOf(object.parts[*main]));
        else large.push_back(boundsOf(object.parts[*main]));
    }
    if (centres.empty()) return frame;
    const double pad = typical / 2;
    centres.minX -= pad, centres.maxX += pad, centres.minY -= pad, centres.maxY += pad;
    frame.add(centres);
    const MapBounds near = grownByShare(frame, kNearShare);
    for (const MapBounds& box : large)
        if (wholeRegions || lies(box, near)) frame.add(box);
    for (const vec::VectorObject& object : data.objects) addNearParts(frame, object, near);
    return widened(frame, typical);
}

}  // namespace el::figures
