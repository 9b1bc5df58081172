#pragma once
// Inside the figures library: draws a scene on any Cairo surface. Every output (PNG, SVG,
// PDF, the window's image, the report's pages) goes through here.

#include <cairo.h>

#include "figures/affine.hpp"
#include "figures/scene.hpp"

namespace el::figures {

// Draws the background, then the content layer with its points mapped through `content`
// (zoom and pan; pen widths, marker and text sizes stay), then the overlay as it is, all
// in the user space `cr` has now.
void drawScene(cairo_t* cr, const Scene& scene, const Affine& content = {});

}  // namespace el::figures
