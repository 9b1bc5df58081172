#pragma once
// Cutting drawn paths to a rectangle of the canvas, so that what lies outside a map's frame
// is not drawn across the page.

#include <vector>

#include "figures/scene.hpp"

namespace el::figures {

struct PixelRect {
    double left = 0, top = 0, right = 0, bottom = 0;
    bool holds(Point p) const { return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom; }
};

// The closed ring cut to the rectangle (edges along the rectangle where it was cut); empty
// when nothing of it lies inside.
std::vector<Point> clipRing(const std::vector<Point>& ring, const PixelRect& rect);

// The open line cut to the rectangle: the pieces of it that lie inside, in order.
std::vector<std::vector<Point>> clipLine(const std::vector<Point>& line, const PixelRect& rect);

}  // namespace el::figures
