#include "engine/hindcast/region_geometry.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/text.hpp"

namespace el::engine {
namespace {

std::size_t nodeCount(const vec::VectorPart& part) { return std::min(part.x.size(), part.y.size()); }

double meanLatitude(const vec::VectorPart& part) {
    double sum = 0;
    const std::size_t n = nodeCount(part);
    for (std::size_t i = 0; i < n; ++i) sum += part.y[i];
    return n == 0 ? 0 : sum / static_cast<double>(n);
}

// The ring's area as it is compared with the others of its region.
double comparedArea(const vec::VectorPart& ring, bool lonLat) {
    const double area = ringArea(ring);
    if (!lonLat) return area;
    return area * std::max(0.0, std::cos(meanLatitude(ring) * std::numbers::pi / 180));
}

// The index of the part with the largest measure, nothing when every measure is 0 or not finite.
template <typename Measure>
std::optional<std::size_t> largestPart(const vec::VectorObject& object, Measure measure) {
    std::optional<std::size_t> best;
    double bestMeasure = 0;
    for (std::size_t p = 0; p < object.parts.size(); ++p) {
        const double m = measure(object.parts[p]);
        if (std::isfinite(m) && m > bestMeasure) best = p, bestMeasure = m;
    }
    return best;
}

std::optional<std::size_t> firstPartWithNodes(const vec::VectorObject& object) {
    for (std::size_t p = 0; p < object.parts.size(); ++p)
        if (nodeCount(object.parts[p]) > 0) return p;
    return std::nullopt;
}

}  // namespace

bool isHolePart(const vec::VectorPart& part) { return asciiLower(part.mergin) == "hole"; }

bool hasRings(const vec::VectorObject& object) {
    return object.type == "area" || object.type == "tree" || object.type == "polygon";
}

bool crossesAntimeridian(const vec::VectorPart& part, bool closed) {
    const std::size_t n = nodeCount(part);
    for (std::size_t i = 0; i + 1 < n; ++i)
        if (std::fabs(part.x[i + 1] - part.x[i]) > 180) return true;
    return closed && n > 1 && std::fabs(part.x[0] - part.x[n - 1]) > 180;
}

vec::VectorPart unwrappedPart(const vec::VectorPart& part) {
    vec::VectorPart out = part;
    for (double& x : out.x)
        if (x < 0) x += 360;
    return out;
}

vec::VectorPart measuredPart(const vec::VectorPart& part, bool closed, bool lonLat) {
    return lonLat && crossesAntimeridian(part, closed) ? unwrappedPart(part) : part;
}

double ringArea(const vec::VectorPart& ring) {
    const std::size_t n = nodeCount(ring);
    if (n < 3) return 0;
    const double ox = ring.x[0], oy = ring.y[0];  // about the first node, for accuracy
    double twice = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        twice += (ring.x[i] - ox) * (ring.y[j] - oy) - (ring.x[j] - ox) * (ring.y[i] - oy);
    }
    return std::fabs(twice) / 2;
}

double lineLength(const vec::VectorPart& line) {
    double length = 0;
    for (std::size_t i = 0; i + 1 < nodeCount(line); ++i)
        length += std::hypot(line.x[i + 1] - line.x[i], line.y[i + 1] - line.y[i]);
    return length;
}

std::optional<std::size_t> mainPartIndex(const vec::VectorObject& object, bool lonLat) {
    if (object.type == "point") return std::nullopt;
    const bool rings = hasRings(object);
    if (rings)
        if (auto largest = largestPart(object, [&](const vec::VectorPart& part) {
                return isHolePart(part) ? 0.0 : comparedArea(measuredPart(part, true, lonLat), lonLat);
            }))
            return largest;
    if (auto longest = largestPart(object, [&](const vec::VectorPart& part) {
            return rings && isHolePart(part) ? 0.0 : lineLength(measuredPart(part, rings, lonLat));
        }))
        return longest;
    return firstPartWithNodes(object);
}

}  // namespace el::engine
