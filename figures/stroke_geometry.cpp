#include "figures/stroke_geometry.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace el::figures {
namespace {

// Rasterised lines thinner than a pixel would vanish between pixel centres.
constexpr double kMinWidth = 1.0;

std::vector<Point> segmentQuad(Point a, Point b, double half) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len = std::hypot(dx, dy);
    if (len == 0) return {};
    const double nx = -dy / len * half, ny = dx / len * half;
    return {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}};
}

// On and off lengths of the dash pattern, as multiples of the width; empty for solid.
std::vector<double> dashPattern(Dash dash, double width) {
    switch (dash) {
    case Dash::Solid: return {};
    case Dash::Dashed: return {3 * width, 2 * width};
    case Dash::Dotted: return {std::max(1.5, width), 2.5};
    }
    return {};
}

}  // namespace

std::vector<Point> circlePolygon(Point centre, double radius, int sides) {
    std::vector<Point> ring;
    for (int i = 0; i < sides; ++i) {
        const double angle = 2 * std::numbers::pi * i / sides;
        ring.push_back({centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)});
    }
    return ring;
}

Rings strokeOutline(const std::vector<Point>& points, bool closed, const Stroke& stroke) {
    Rings rings;
    if (points.empty()) return rings;
    const double width = std::max(stroke.width, kMinWidth);
    const double half = width / 2;
    std::vector<Point> path = points;
    if (closed && path.size() > 1) path.push_back(path.front());

    const std::vector<double> pattern = dashPattern(stroke.dash, width);
    std::size_t phase = 0;     // index into the pattern
    double left = pattern.empty() ? 0 : pattern[0];  // length left in the current phase
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        const Point a = path[i], b = path[i + 1];
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        if (!std::isfinite(len) || len == 0) continue;
        if (pattern.empty()) {
            rings.push_back(segmentQuad(a, b, half));
            continue;
        }
        double at = 0;
        while (at < len) {
            const double step = std::min(left, len - at);
            if (phase % 2 == 0) {
                const Point from{a.x + (b.x - a.x) * at / len, a.y + (b.y - a.y) * at / len};
                const Point to{a.x + (b.x - a.x) * (at + step) / len, a.y + (b.y - a.y) * (at + step) / len};
                auto quad = segmentQuad(from, to, half);
                if (!quad.empty()) rings.push_back(std::move(quad));
            }
            at += step;
            left -= step;
            if (left <= 1e-9) {
                phase = (phase + 1) % pattern.size();
                left = pattern[phase];
            }
        }
    }
    // Round joints for solid lines thicker than a pixel, so corners have no notches.
    if (pattern.empty() && width > 1.5) {
        for (std::size_t i = 1; i + 1 < path.size(); ++i) rings.push_back(circlePolygon(path[i], half, 12));
        if (closed && path.size() > 2) rings.push_back(circlePolygon(path.front(), half, 12));
    }
    return rings;
}

}  // namespace el::figures
