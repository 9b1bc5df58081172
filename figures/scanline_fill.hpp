#pragma once
// Polygon filling by scanlines: a pixel is inside when its centre is, by the even-odd or
// the non-zero winding rule. Rings are closed implicitly; pixels outside the canvas are
// never visited.

#include <functional>
#include <vector>

#include "figures/raster_image.hpp"
#include "figures/scene.hpp"

namespace el::figures {

enum class FillRule { EvenOdd, NonZero };

using Rings = std::vector<std::vector<Point>>;

// Calls `span(y, x0, x1)` for every run of inside pixels x0 <= x < x1 of row y.
void forEachSpan(const Rings& rings, FillRule rule, int width, int height,
                 const std::function<void(int y, int x0, int x1)>& span);

void fillRings(RasterImage& image, const Rings& rings, FillRule rule, Rgb colour);

}  // namespace el::figures
