#include "engine/hindcast/region_distance.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "engine/hindcast/region_geometry.hpp"
#include "vector/records.hpp"

namespace el::engine {
namespace {

std::optional<PlanePoint> meanOfNodes(const std::vector<const vec::VectorPart*>& parts) {
    double x = 0, y = 0;
    long count = 0;
    for (const vec::VectorPart* part : parts)
        for (std::size_t i = 0; i < part->x.size() && i < part->y.size(); ++i) {
            if (!std::isfinite(part->x[i]) || !std::isfinite(part->y[i])) continue;
            x += part->x[i];
            y += part->y[i];
            ++count;
        }
    if (count == 0) return std::nullopt;
    return PlanePoint{x / static_cast<double>(count), y / static_cast<double>(count)};
}

// The centroid of the ring's area (shoelace), taken about its first node for accuracy.
std::optional<PlanePoint> ringCentroid(const vec::VectorPart& ring) {
    const std::size_t n = std::min(ring.x.size(), ring.y.size());
    if (n < 3) return std::nullopt;
    const double ox = ring.x[0], oy = ring.y[0];
    double twiceArea = 0, cx = 0, cy = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        const double x0 = ring.x[i] - ox, y0 = ring.y[i] - oy, x1 = ring.x[j] - ox, y1 = ring.y[j] - oy;
        const double cross = x0 * y1 - x1 * y0;
        twiceArea += cross;
        cx += (x0 + x1) * cross;
        cy += (y0 + y1) * cross;
    }
    if (twiceArea == 0 || !std::isfinite(twiceArea)) return std::nullopt;
    return PlanePoint{ox + cx / (3 * twiceArea), oy + cy / (3 * twiceArea)};
}

// The length-weighted centroid of a line's segments.
std::optional<PlanePoint> lineCentroid(const vec::VectorPart& line) {
    double length = 0, cx = 0, cy = 0;
    for (std::size_t i = 0; i + 1 < std::min(line.x.size(), line.y.size()); ++i) {
        const double d = std::hypot(line.x[i + 1] - line.x[i], line.y[i + 1] - line.y[i]);
        if (!std::isfinite(d)) continue;
        length += d;
        cx += d * (line.x[i] + line.x[i + 1]) / 2;
        cy += d * (line.y[i] + line.y[i + 1]) / 2;
    }
    if (!(length > 0)) return std::nullopt;
    return PlanePoint{cx / length, cy / length};
}

// The centroid of the part that stands for the region, measured as it is drawn.
std::optional<PlanePoint> mainPartCentroid(const vec::VectorObject& object, std::size_t index, bool lonLat) {
    const bool rings = hasRings(object);
    const vec::VectorPart part = measuredPart(object.parts[index], rings, lonLat);
    std::optional<PlanePoint> centre = rings ? ringCentroid(part) : std::nullopt;
    if (!centre) centre = lineCentroid(part);
    if (!centre) centre = meanOfNodes({&part});
    if (centre && lonLat && centre->x > 180) centre->x -= 360;  // back from an unwrapped ring
    return centre;
}

double radians(double degrees) { return degrees * std::numbers::pi / 180; }

}  // namespace

std::optional<PlanePoint> regionCentroid(const vec::VectorObject& object, bool lonLat) {
    if (const auto main = mainPartIndex(object, lonLat)) return mainPartCentroid(object, *main, lonLat);
    std::vector<const vec::VectorPart*> parts;  // a point region: every node
    for (const vec::VectorPart& part : object.parts) parts.push_back(&part);
    return meanOfNodes(parts);
}

bool coordinatesAreLonLat(const vec::VectorData& data) {
    bool any = false;
    for (const vec::VectorObject& object : data.objects)
        for (const vec::VectorPart& part : object.parts) {
            for (double x : part.x)
                if (!(x >= -180 && x <= 360)) return false;
            for (double y : part.y)
                if (!(y >= -90 && y <= 90)) return false;
            any = any || !part.x.empty();
        }
    return any;
}

double greatCircleKm(const PlanePoint& a, const PlanePoint& b) {
    constexpr double kEarthRadiusKm = 6371;
    const double dLat = radians(b.y - a.y), dLon = radians(b.x - a.x);
    const double h = std::pow(std::sin(dLat / 2), 2) + std::cos(radians(a.y)) * std::cos(radians(b.y)) * std::pow(std::sin(dLon / 2), 2);
    return 2 * kEarthRadiusKm * std::asin(std::min(1.0, std::sqrt(h)));
}

RegionCentres regionCentres(const vec::VectorData& data) {
    RegionCentres regions;
    if (vec::withoutGeometry(data)) {  // every region at one stand-in place: no distance means anything
        regions.centre.resize(data.objects.size());
        return regions;
    }
    regions.lonLat = coordinatesAreLonLat(data);
    for (const vec::VectorObject& object : data.objects)
        regions.centre.push_back(regionCentroid(object, regions.lonLat));
    return regions;
}

std::vector<std::optional<double>> distanceToNearest(const RegionCentres& regions, const std::vector<bool>& sources) {
    const std::vector<std::optional<PlanePoint>>& centre = regions.centre;
    std::vector<std::optional<double>> distance(centre.size());
    for (std::size_t k = 0; k < centre.size(); ++k) {
        if (!centre[k]) continue;
        double nearest = std::numeric_limits<double>::infinity();
        for (std::size_t s = 0; s < centre.size() && s < sources.size(); ++s) {
            if (!sources[s] || !centre[s]) continue;
            const double d = regions.lonLat ? greatCircleKm(*centre[k], *centre[s])
                                            : std::hypot(centre[k]->x - centre[s]->x, centre[k]->y - centre[s]->y);
            nearest = std::min(nearest, d);
        }
        if (std::isfinite(nearest)) distance[k] = nearest;
    }
    return distance;
}

}  // namespace el::engine
