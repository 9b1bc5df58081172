#pragma once
// A 2-D affine map of canvas points: x' = xx x + xy y + x0, y' = yx x + yy y + y0.

#include "figures/scene.hpp"

namespace el::figures {

struct Affine {
    double xx = 1, yx = 0, xy = 0, yy = 1, x0 = 0, y0 = 0;

    Point map(Point p) const { return {xx * p.x + xy * p.y + x0, yx * p.x + yy * p.y + y0}; }

    static Affine scaling(double s) { return {s, 0, 0, s, 0, 0}; }
};

}  // namespace el::figures
