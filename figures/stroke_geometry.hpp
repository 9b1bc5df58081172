#pragma once
// Lines with width as polygons: each (dashed) piece of a polyline becomes a rectangle and
// each joint a small disc. Fill every polygon on its own: their windings may differ.

#include <vector>

#include "figures/scanline_fill.hpp"
#include "figures/scene.hpp"

namespace el::figures {

// The outline polygons of a stroke along `points` (closed: back to the first point).
Rings strokeOutline(const std::vector<Point>& points, bool closed, const Stroke& stroke);

// A regular polygon close to the circle about `centre`.
std::vector<Point> circlePolygon(Point centre, double radius, int sides = 24);

}  // namespace el::figures
