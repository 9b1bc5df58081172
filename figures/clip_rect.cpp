#include "figures/clip_rect.hpp"

#include <algorithm>
#include <array>
#include <functional>

namespace el::figures {
namespace {

// One side of the rectangle: which points it keeps and where a segment crosses it.
struct Edge {
    std::function<bool(Point)> inside;
    std::function<Point(Point, Point)> cross;
};

Point atX(Point a, Point b, double x) { return {x, a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x)}; }
Point atY(Point a, Point b, double y) { return {a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y), y}; }

std::array<Edge, 4> edgesOf(const PixelRect& r) {
    return {Edge{[r](Point p) { return p.x >= r.left; }, [r](Point a, Point b) { return atX(a, b, r.left); }},
            Edge{[r](Point p) { return p.x <= r.right; }, [r](Point a, Point b) { return atX(a, b, r.right); }},
            Edge{[r](Point p) { return p.y >= r.top; }, [r](Point a, Point b) { return atY(a, b, r.top); }},
            Edge{[r](Point p) { return p.y <= r.bottom; }, [r](Point a, Point b) { return atY(a, b, r.bottom); }}};
}

// One step of Sutherland-Hodgman: the closed ring cut to one side.
std::vector<Point> clipToEdge(const std::vector<Point>& ring, const Edge& edge) {
    std::vector<Point> out;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const Point a = ring[(i + ring.size() - 1) % ring.size()], b = ring[i];
        const bool aIn = edge.inside(a), bIn = edge.inside(b);
        if (aIn != bIn) out.push_back(edge.cross(a, b));
        if (bIn) out.push_back(b);
    }
    return out;
}

// The part of segment a-b inside the rectangle (Liang-Barsky); false when none is.
bool clipSegment(Point& a, Point& b, const PixelRect& r) {
    double t0 = 0, t1 = 1;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const std::array<std::pair<double, double>, 4> sides{
        {{-dx, a.x - r.left}, {dx, r.right - a.x}, {-dy, a.y - r.top}, {dy, r.bottom - a.y}}};
    for (const auto& [p, q] : sides) {
        if (p == 0) {
            if (q < 0) return false;
            continue;
        }
        const double t = q / p;
        if (p < 0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const Point from = a;
    a = {from.x + t0 * dx, from.y + t0 * dy};
    b = {from.x + t1 * dx, from.y + t1 * dy};
    return true;
}

}  // namespace

std::vector<Point> clipRing(const std::vector<Point>& ring, const PixelRect& rect) {
    if (std::all_of(ring.begin(), ring.end(), [&](Point p) { return rect.holds(p); })) return ring;
    std::vector<Point> out = ring;
    for (const Edge& edge : edgesOf(rect)) {
        if (out.empty()) break;
        out = clipToEdge(out, edge);
    }
    return out;
}

std::vector<std::vector<Point>> clipLine(const std::vector<Point>& line, const PixelRect& rect) {
    std::vector<std::vector<Point>> pieces;
    if (line.size() == 1 && rect.holds(line[0])) pieces.push_back(line);
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        Point a = line[i], b = line[i + 1];
        if (!clipSegment(a, b, rect)) continue;
        const bool joins = !pieces.empty() && pieces.back().back().x == a.x && pieces.back().back().y == a.y;
        if (!joins) pieces.push_back({a});
        pieces.back().push_back(b);
    }
    return pieces;
}

}  // namespace el::figures
