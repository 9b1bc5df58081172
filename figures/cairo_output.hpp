#pragma once
// Inside the figures library: Cairo surfaces that write into a string.

#include <cairo.h>

#include <string>

namespace el::figures {

// Appends what a stream surface writes to the std::string `closure` points to.
cairo_status_t appendToString(void* closure, const unsigned char* data, unsigned int length);

// Finishes and destroys `surface`; false when Cairo reported an error while drawing or writing.
bool finishSurface(cairo_surface_t* surface);

// Names the PDF's creator and title; with SOURCE_DATE_EPOCH set, its creation date is that
// time (UTC) instead of now, so the file can be made again byte for byte.
void stampPdf(cairo_surface_t* pdf, const std::string& title);

// Gives every id of a Cairo SVG text a name made of `prefix` and its order of appearance,
// and points every reference at the new name: the text no longer depends on how many
// surfaces the process made before, and several drawings can share one page.
std::string renumberSvgIds(const std::string& svg, const std::string& prefix);

}  // namespace el::figures
