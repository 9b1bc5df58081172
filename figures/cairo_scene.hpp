#pragma once
// Inside the figures library: draws a scene on any Cairo surface. Every output (PNG, SVG,
// PDF, the window's image, the report's pages) goes through here.

#include <cairo.h>

#include "figures/affine.hpp"
#include "figures/scene.hpp"

namespace el::figures {

// Makes `c` the source colour of `cr`.
inline void setColour(cairo_t* cr, Rgb c) { cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0); }

// Draws the background, then the underlay and the content layers with their points mapped through `content`
// (zoom and pan; pen widths, marker and text sizes stay), then the overlay as it is, all
// in the user space `cr` has now.
void drawScene(cairo_t* cr, const Scene& scene, const Affine& content = {});

}  // namespace el::figures
