#pragma once
// A box of map coordinates, and the box of a data set's nodes.

#include <limits>

#include "vector/vector_data.hpp"

namespace el::figures {

struct MapBounds {
    double minX = std::numeric_limits<double>::infinity(), minY = minX;
    double maxX = -std::numeric_limits<double>::infinity(), maxY = maxX;
    void add(double x, double y);  // non-finite points are left out
    void add(const MapBounds& other);
    bool empty() const { return !(minX <= maxX); }
    double width() const { return maxX - minX; }
    double height() const { return maxY - minY; }
};

// Every node of the part.
MapBounds boundsOf(const vec::VectorPart& part);

// Every node of every region.
MapBounds boundsOf(const vec::VectorData& data);

// True when the bounds hold points and every one lies within x -180..360, y -90..90.
bool isLonLat(const MapBounds& bounds);

}  // namespace el::figures
