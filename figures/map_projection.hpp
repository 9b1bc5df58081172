#pragma once
// From map coordinates to canvas pixels: one unit of x as wide as one unit of y (a
// longitude/latitude map is projected before, map_transform.hpp). Maps whose y grows
// downwards (screen or SVG coordinates) can be drawn the right way up.

#include <string>

#include "figures/map_bounds.hpp"
#include "figures/scene.hpp"

namespace el::figures {

struct MapProjection {
    double scale = 1;          // pixels per map unit
    double left = 0, top = 0;  // where the drawn bounds start on the canvas
    double minX = 0, minY = 0, maxY = 0;
    bool yDown = false;

    Point operator()(double x, double y) const {
        return {left + (x - minX) * scale, top + (yDown ? y - minY : maxY - y) * scale};
    }
};

// Fits `bounds` centred into the rectangle. `yDown`: y grows downwards.
MapProjection fitProjection(const MapBounds& bounds, bool yDown, double left, double top, double width, double height);

// "10°E", "25.5°W", "0°", "180°" (x beyond 180 counts on westwards from 180°W).
std::string longitudeText(double x);
// "45°N", "12°S", "0°".
std::string latitudeText(double y);

}  // namespace el::figures
