#pragma once
// A scene drawn into pixels without any toolkit: even-odd filled shapes, lines with
// width and dashes, markers and labels in the built-in bitmap font. No anti-aliasing.

#include "figures/raster_image.hpp"
#include "figures/scene.hpp"

namespace el::figures {

RasterImage rasterise(const Scene& scene);

// Draws one label: the glyphs scaled to the label's size, anchored and turned as asked.
void drawLabel(RasterImage& image, const Label& label);

}  // namespace el::figures
