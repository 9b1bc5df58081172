// The regions' parts carried into a map projection: unwrapped, cut at the projection's tear,
// their long edges followed along the globe (map_transform.hpp).

#include <algorithm>
#include <cmath>

#include "engine/hindcast/region_geometry.hpp"
#include "figures/clip_rect.hpp"
#include "figures/map_transform.hpp"

namespace el::figures {
namespace {

constexpr double kLongestEdge = 1;  // degrees: a longer edge gets nodes in between
constexpr double kTearGap = 1e-7;   // degrees kept between a cut piece and the tear

std::vector<Point> pointsOf(const vec::VectorPart& part) {
    std::vector<Point> points;
    for (std::size_t i = 0; i < part.x.size() && i < part.y.size(); ++i)
        if (std::isfinite(part.x[i]) && std::isfinite(part.y[i])) points.push_back({part.x[i], part.y[i]});
    return points;
}

// The piece moved back by `shift` degrees of longitude, off the strip's edges.
vec::VectorPart pieceOf(const std::string& label, const std::vector<Point>& points, double left, double shift) {
    vec::VectorPart part{label, {}, {}};
    for (const Point& p : points) {
        const double x = std::clamp(p.x, left + kTearGap, left + 360 - kTearGap);
        part.x.push_back(x - shift);
        part.y.push_back(p.y);
    }
    return part;
}

// The part cut into one piece per turn of longitude between two tears, each moved into the
// turn that starts at the tear.
std::vector<vec::VectorPart> cutAtTear(const vec::VectorPart& part, bool closed, double tear) {
    const std::vector<Point> points = pointsOf(part);
    const MapBounds box = boundsOf(part);
    std::vector<vec::VectorPart> pieces;
    if (box.empty()) return pieces;
    const double first = std::floor((box.minX - tear) / 360), last = std::floor((box.maxX - tear) / 360);
    for (double turn = first; turn <= last; ++turn) {
        const double left = tear + 360 * turn;
        const PixelRect strip{left, -1000, left + 360, 1000};
        const double shift = 360 * turn;
        if (closed) {
            const std::vector<Point> ring = clipRing(points, strip);
            if (ring.size() >= 3) pieces.push_back(pieceOf(part.mergin, ring, left, shift));
        } else {
            for (const auto& line : clipLine(points, strip)) pieces.push_back(pieceOf(part.mergin, line, left, shift));
        }
    }
    return pieces;
}

// Nodes put into every edge longer than kLongestEdge degrees, so that the edge follows the
// globe once projected.
vec::VectorPart followingTheGlobe(const vec::VectorPart& part, bool closed) {
    vec::VectorPart out{part.mergin, {}, {}};
    const std::size_t n = std::min(part.x.size(), part.y.size());
    for (std::size_t i = 0; i < n; ++i) {
        out.x.push_back(part.x[i]);
        out.y.push_back(part.y[i]);
        if (i + 1 == n && !closed) break;
        const std::size_t j = (i + 1) % n;
        const double dx = part.x[j] - part.x[i], dy = part.y[j] - part.y[i];
        const double steps = std::ceil(std::max(std::fabs(dx), std::fabs(dy)) / kLongestEdge);
        if (!std::isfinite(steps)) continue;
        for (double s = 1; s < steps; ++s) {
            out.x.push_back(part.x[i] + dx * s / steps);
            out.y.push_back(part.y[i] + dy * s / steps);
        }
    }
    return out;
}

bool reachesFarSide(const vec::VectorPart& part, LonLat middle) {
    for (std::size_t i = 0; i < part.x.size() && i < part.y.size(); ++i)
        if (angularDistance(middle, {part.x[i], part.y[i]}) > kFarSide) return true;
    return false;
}

// The part in the transform's coordinates; nothing when a node cannot be projected.
std::optional<vec::VectorPart> projected(const vec::VectorPart& part, const MapTransform& transform) {
    vec::VectorPart out{part.mergin, {}, {}};
    for (std::size_t i = 0; i < part.x.size() && i < part.y.size(); ++i) {
        const auto p = transform.forward(part.x[i], part.y[i]);
        if (!p) return std::nullopt;
        out.x.push_back(p->x);
        out.y.push_back(p->y);
    }
    return out;
}

void addProjectedParts(vec::VectorObject& into, const vec::VectorObject& object, const MapTransform& transform,
                       LonLat middle) {
    const bool closed = engine::hasRings(object) && object.type != "point";
    for (const vec::VectorPart& source : object.parts) {
        const vec::VectorPart part = engine::measuredPart(source, closed, true);
        std::vector<vec::VectorPart> pieces;
        if (transform.tear()) pieces = cutAtTear(part, closed, *transform.tear());
        else if (!reachesFarSide(part, middle)) pieces.push_back(part);
        for (const vec::VectorPart& piece : pieces)
            if (auto p = projected(object.type == "point" ? piece : followingTheGlobe(piece, closed), transform))
                into.parts.push_back(std::move(*p));
    }
}

}  // namespace

vec::VectorData projectedRegions(const vec::VectorData& data, const MapTransform& transform, LonLat middle) {
    vec::VectorData out;
    out.objects.reserve(data.objects.size());
    for (const vec::VectorObject& object : data.objects) {
        vec::VectorObject placed{{}, object.type, object.name, {}};
        addProjectedParts(placed, object, transform, middle);
        out.objects.push_back(std::move(placed));
    }
    out.sizes.objn = static_cast<int>(out.objects.size());
    return out;
}

MapBounds projectedBox(const MapBounds& box, const MapTransform& transform) {
    MapBounds out;
    constexpr int kSteps = 64;
    for (int k = 0; k <= kSteps; ++k) {
        const double t = static_cast<double>(k) / kSteps;
        const double x = box.minX + t * box.width(), y = box.minY + t * box.height();
        for (const auto& [lon, lat] : {std::pair{x, box.minY}, {x, box.maxY}, {box.minX, y}, {box.maxX, y}})
            if (const auto p = transform.forward(lon, lat)) out.add(p->x, p->y);
    }
    return out;
}

}  // namespace el::figures
