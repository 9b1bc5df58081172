#include "figures/scanline_fill.hpp"

#include <algorithm>
#include <cmath>

namespace el::figures {
namespace {

struct Edge {
    double x0, y0, x1, y1;
    int winding;  // +1 downwards, -1 upwards
};

struct Crossing {
    double x;
    int winding;
};

std::vector<Edge> edgesOf(const Rings& rings) {
    std::vector<Edge> edges;
    for (const auto& ring : rings) {
        for (std::size_t i = 0; i < ring.size(); ++i) {
            const Point a = ring[i];
            const Point b = ring[(i + 1) % ring.size()];
            if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y)) continue;
            if (a.y == b.y) continue;  // horizontal edges never cross a scanline
            if (a.y < b.y) edges.push_back({a.x, a.y, b.x, b.y, 1});
            else edges.push_back({b.x, b.y, a.x, a.y, -1});
        }
    }
    return edges;
}

// The first pixel whose centre is at or right of x.
// Far-off coordinates are clamped first, so the conversion to int cannot overflow.
int firstPixelFrom(double x) { return static_cast<int>(std::ceil(std::clamp(x, -1e8, 1e8) - 0.5)); }

}  // namespace

void forEachSpan(const Rings& rings, FillRule rule, int width, int height,
                 const std::function<void(int, int, int)>& span) {
    const std::vector<Edge> edges = edgesOf(rings);
    if (edges.empty() || width <= 0 || height <= 0) return;
    double top = edges.front().y0, bottom = edges.front().y1;
    for (const Edge& e : edges) {
        top = std::min(top, e.y0);
        bottom = std::max(bottom, e.y1);
    }
    const int firstRow = std::max(0, firstPixelFrom(top));
    const int lastRow = std::min(height - 1, firstPixelFrom(bottom));
    std::vector<Crossing> crossings;
    for (int y = firstRow; y <= lastRow; ++y) {
        const double cy = y + 0.5;
        crossings.clear();
        // Half-open in y, so a vertex shared by two edges counts once.
        for (const Edge& e : edges)
            if (e.y0 <= cy && cy < e.y1)
                crossings.push_back({e.x0 + (cy - e.y0) / (e.y1 - e.y0) * (e.x1 - e.x0), e.winding});
        std::sort(crossings.begin(), crossings.end(), [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
        int inside = 0;
        for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
            inside += rule == FillRule::EvenOdd ? 1 : crossings[i].winding;
            const bool filled = rule == FillRule::EvenOdd ? (inside % 2) != 0 : inside != 0;
            if (!filled) continue;
            const int x0 = std::max(0, firstPixelFrom(crossings[i].x));
            const int x1 = std::min(width, firstPixelFrom(crossings[i + 1].x));
            if (x0 < x1) span(y, x0, x1);
        }
    }
}

void fillRings(RasterImage& image, const Rings& rings, FillRule rule, Rgb colour) {
    forEachSpan(rings, rule, image.width, image.height, [&](int y, int x0, int x1) {
        for (int x = x0; x < x1; ++x) image.set(x, y, colour);
    });
}

}  // namespace el::figures
