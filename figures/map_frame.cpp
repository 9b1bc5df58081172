#include "figures/map_frame.hpp"

#include <algorithm>
#include <cmath>

#include "engine/hindcast/region_geometry.hpp"

namespace el::figures {
namespace {

constexpr double kNearShare = 0.25;  // how far beyond the main parts' box a part still counts

MapBounds partBounds(const vec::VectorPart& part) {
    MapBounds b;
    for (std::size_t i = 0; i < part.x.size() && i < part.y.size(); ++i) b.add(part.x[i], part.y[i]);
    return b;
}

void addBounds(MapBounds& into, const MapBounds& b) {
    if (b.empty()) return;
    into.add(b.minX, b.minY);
    into.add(b.maxX, b.maxY);
}

// The whole turns (-1, 0 or 1) that bring longitudes centred at `x` nearest `middleX`.
double turnTowards(double x, double middleX) {
    double best = 0;
    for (double shift : {-360.0, 360.0})
        if (std::fabs(x + shift - middleX) < std::fabs(x + best - middleX)) best = shift;
    return best;
}

vec::VectorPart placed(const vec::VectorPart& part, bool closed, bool lonLat, double middleX) {
    vec::VectorPart out = engine::measuredPart(part, closed, lonLat);
    if (!lonLat) return out;
    const MapBounds b = partBounds(out);
    if (b.empty()) return out;
    const double shift = turnTowards((b.minX + b.maxX) / 2, middleX);
    if (shift != 0)
        for (double& x : out.x) x += shift;
    return out;
}

bool within(const MapBounds& inner, const MapBounds& outer) {
    return !inner.empty() && inner.minX >= outer.minX && inner.maxX <= outer.maxX && inner.minY >= outer.minY &&
           inner.maxY <= outer.maxY;
}

MapBounds grown(const MapBounds& b) {
    const double dx = (b.maxX - b.minX) * kNearShare, dy = (b.maxY - b.minY) * kNearShare;
    MapBounds out = b;
    out.minX -= dx, out.maxX += dx, out.minY -= dy, out.maxY += dy;
    return out;
}

}  // namespace

double placedLongitude(double x, double middleX) { return x + turnTowards(x, middleX); }

std::vector<vec::VectorPart> placedParts(const vec::VectorObject& object, bool lonLat, double middleX) {
    const bool closed = engine::hasRings(object);
    std::vector<vec::VectorPart> parts;
    parts.reserve(object.parts.size());
    for (const vec::VectorPart& part : object.parts) parts.push_back(placed(part, closed, lonLat, middleX));
    return parts;
}

MapBounds mainPartsFrame(const vec::VectorData& data, bool lonLat) {
    MapBounds main;
    std::vector<std::optional<std::size_t>> mainIndex;
    for (const vec::VectorObject& object : data.objects) {
        mainIndex.push_back(engine::mainPartIndex(object, lonLat));
        const bool closed = engine::hasRings(object);
        for (std::size_t p = 0; p < object.parts.size(); ++p)
            if (!mainIndex.back() || *mainIndex.back() == p)
                addBounds(main, partBounds(engine::measuredPart(object.parts[p], closed, lonLat)));
    }
    if (main.empty()) return main;
    const MapBounds near = grown(main);
    const double middleX = (main.minX + main.maxX) / 2;
    MapBounds frame = main;
    for (std::size_t k = 0; k < data.objects.size(); ++k) {
        const vec::VectorObject& object = data.objects[k];
        if (!mainIndex[k]) continue;
        for (std::size_t p = 0; p < object.parts.size(); ++p) {
            if (p == *mainIndex[k] || engine::isHolePart(object.parts[p])) continue;
            const MapBounds b = partBounds(placed(object.parts[p], engine::hasRings(object), lonLat, middleX));
            if (within(b, near)) addBounds(frame, b);
        }
    }
    return frame;
}

}  // namespace el::figures
