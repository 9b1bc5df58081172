#include "figures/map_projection.hpp"

#include <algorithm>
#include <cmath>

#include "figures/axis_ticks.hpp"

namespace el::figures {
namespace {

std::string degrees(double value, const char* positive, const char* negative) {
    const double magnitude = std::fabs(value);
    if (magnitude < 1e-9) return "0°";
    return shortNumber(magnitude) + "°" + (value > 0 ? positive : negative);
}

}  // namespace

MapProjection fitProjection(const MapBounds& b, bool yDown, double left, double top, double width, double height) {
    MapProjection p;
    p.yDown = yDown;
    if (b.empty()) return p;
    const double w = std::max(b.width(), 1e-12), h = std::max(b.height(), 1e-12);
    p.scale = std::min(width / w, height / h);
    p.left = left + (width - w * p.scale) / 2;
    p.top = top + (height - h * p.scale) / 2;
    p.minX = b.minX;
    p.minY = b.minY;
    p.maxY = b.maxY;
    return p;
}

std::string longitudeText(double x) {
    x = std::fmod(x, 360);
    if (x > 180) x -= 360;
    if (x < -180) x += 360;
    if (std::fabs(std::fabs(x) - 180) < 1e-9) return "180°";
    return degrees(x, "E", "W");
}

std::string latitudeText(double y) { return degrees(y, "N", "S"); }

}  // namespace el::figures
