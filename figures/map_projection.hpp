#pragma once
// From map coordinates to canvas pixels. Longitude/latitude maps keep the shape of the
// land: a degree of longitude is drawn cos(latitude) times as wide as a degree of latitude.
// Maps whose y grows downwards (screen or SVG coordinates) can be drawn the right way up.

#include <limits>
#include <string>

#include "figures/scene.hpp"
#include "vector/vector_data.hpp"

namespace el::figures {

struct MapBounds {
    double minX = std::numeric_limits<double>::infinity(), minY = minX;
    double maxX = -std::numeric_limits<double>::infinity(), maxY = maxX;
    void add(double x, double y);  // non-finite points are left out
    bool empty() const { return !(minX <= maxX); }
};

// Every node of every region.
MapBounds boundsOf(const vec::VectorData& data);

// True when the bounds hold points and every one lies within x -180..360, y -90..90.
bool isLonLat(const MapBounds& bounds);

struct MapProjection {
    double scaleX = 1, scaleY = 1;  // pixels per map unit
    double left = 0, top = 0;       // where the drawn bounds start on the canvas
    double minX = 0, minY = 0, maxY = 0;
    bool yDown = false;

    Point operator()(double x, double y) const {
        return {left + (x - minX) * scaleX, top + (yDown ? y - minY : maxY - y) * scaleY};
    }
};

// Fits `bounds` centred into the rectangle. `lonLat`: x is squeezed by the cosine of the
// latitude midway between the southern and northern bounds. `yDown`: y grows downwards.
MapProjection fitProjection(const MapBounds& bounds, bool lonLat, bool yDown, double left, double top, double width,
                            double height);

// "10°E", "25.5°W", "0°", "180°" (x beyond 180 counts on westwards from 180°W).
std::string longitudeText(double x);
// "45°N", "12°S", "0°".
std::string latitudeText(double y);

}  // namespace el::figures
