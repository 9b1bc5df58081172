#include "figures/map_projection.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "figures/axis_ticks.hpp"

namespace el::figures {
namespace {

constexpr double kMinCosine = 0.05;  // keeps a map near a pole from becoming a line

std::string degrees(double value, const char* positive, const char* negative) {
    const double magnitude = std::fabs(value);
    if (magnitude < 1e-9) return "0°";
    return shortNumber(magnitude) + "°" + (value > 0 ? positive : negative);
}

}  // namespace

void MapBounds::add(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    minX = std::min(minX, x), maxX = std::max(maxX, x);
    minY = std::min(minY, y), maxY = std::max(maxY, y);
}

MapBounds boundsOf(const vec::VectorData& data) {
    MapBounds bounds;
    for (const auto& object : data.objects)
        for (const auto& part : object.parts)
            for (std::size_t k = 0; k < part.x.size() && k < part.y.size(); ++k) bounds.add(part.x[k], part.y[k]);
    return bounds;
}

bool isLonLat(const MapBounds& b) {
    return !b.empty() && b.minX >= -180 && b.maxX <= 360 && b.minY >= -90 && b.maxY <= 90;
}

MapProjection fitProjection(const MapBounds& b, bool lonLat, bool yDown, double left, double top, double width,
                            double height) {
    MapProjection p;
    p.yDown = yDown;
    if (b.empty()) return p;
    const double middle = (b.minY + b.maxY) / 2;
    const double squeeze = lonLat ? std::max(kMinCosine, std::cos(middle * std::numbers::pi / 180)) : 1.0;
    const double w = std::max((b.maxX - b.minX) * squeeze, 1e-12), h = std::max(b.maxY - b.minY, 1e-12);
    const double scale = std::min(width / w, height / h);
    p.scaleX = scale * squeeze;
    p.scaleY = scale;
    p.left = left + (width - w * scale) / 2;
    p.top = top + (height - h * scale) / 2;
    p.minX = b.minX;
    p.minY = b.minY;
    p.maxY = b.maxY;
    return p;
}

std::string longitudeText(double x) {
    if (x > 180) x -= 360;
    if (std::fabs(std::fabs(x) - 180) < 1e-9) return "180°";
    return degrees(x, "E", "W");
}

std::string latitudeText(double y) { return degrees(y, "N", "S"); }

}  // namespace el::figures
