#pragma once
// Inside the figures library: one line of text laid out by Pango, to measure and draw with
// Cairo. Grey-scale anti-aliasing and no hinting of outlines or metrics: a text is as wide
// in a PNG as in a PDF or SVG, and as wide as textWidth() measured it.

#include <cairo.h>
#include <pango/pango-layout.h>

#include <memory>
#include <string_view>

namespace el::figures {

class TextLine {
public:
    TextLine(std::string_view text, double size);

    double width() const;
    // Breaks the text into lines no wider than `width` where its script allows, and a word
    // wider than that between its characters.
    void wrapAt(double width);
    // Draws the line with its baseline starting at the current point.
    void draw(cairo_t* cr) const;
    // Adds the outlines of its glyphs to the current path, where draw() would put them.
    void addPath(cairo_t* cr) const;

    PangoLayout* layout() const { return layout_.get(); }

private:
    struct Unref {
        void operator()(PangoLayout* layout) const;
    };
    std::unique_ptr<PangoLayout, Unref> layout_;
    double scale_;  // from the layout's size to the size asked for
};

// Draws `text` from the current point at `size` pixels, the baseline on the point.
void showText(cairo_t* cr, std::string_view text, double size);

}  // namespace el::figures
