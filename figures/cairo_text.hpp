#pragma once
// Inside the figures library: setting text with Cairo in runs of one font each.

#include <cairo.h>

#include <string_view>

namespace el::figures {

// Grey-scale anti-aliasing, no hinting of outlines or metrics: a text is as wide in a PNG
// as in a PDF or SVG, and as wide as textWidth() measured it.
void useTextOptions(cairo_t* cr);

// Draws `text` from the current point at `size` pixels and moves the point past it.
void showText(cairo_t* cr, std::string_view text, double size);

// Adds the outlines of `text`'s letters to the current path, as showText would draw them.
void textPath(cairo_t* cr, std::string_view text, double size);

}  // namespace el::figures
