#include "figures/text_fit.hpp"

#include <pango/pangocairo.h>

#include <algorithm>

#include "base/text.hpp"
#include "figures/cairo_text.hpp"
#include "figures/font_text.hpp"

namespace el::figures {
namespace {

constexpr double kAscent = 0.93;  // of the font size, from the top of a line to its baseline

}  // namespace

std::vector<std::string> wrapLines(std::string_view text, double width, double size) {
    TextLine laidOut(text, size);
    laidOut.wrapAt(width);
    PangoLayout* layout = laidOut.layout();
    const std::string_view all = pango_layout_get_text(layout);
    std::vector<std::string> lines;
    for (const GSList* l = pango_layout_get_lines_readonly(layout); l != nullptr; l = l->next) {
        const auto* line = static_cast<const PangoLayoutLine*>(l->data);
        const auto start = static_cast<std::size_t>(line->start_index), length = static_cast<std::size_t>(line->length);
        std::string piece(trimBlanks(all.substr(std::min(start, all.size()), length), " "));
        if (!piece.empty()) lines.push_back(std::move(piece));
    }
    if (lines.empty()) lines.emplace_back();
    return lines;
}

FittedText fitText(std::string_view text, double width, double size, double minSize) {
    const double full = textWidth(text, size);
    if (full <= width) return {size, {std::string(text)}};
    const double shrunk = size * width / full;
    if (shrunk >= minSize) {
        // Widths scale with the size; the margin keeps rounding from overhanging.
        const double fitting = shrunk * 0.999;
        return {fitting, {std::string(text)}};
    }
    return {size, wrapLines(text, width, size)};
}

double placeText(Layer& layer, const FittedText& text, double x, double top, TextAnchor anchor, Rgb colour) {
    double y = top;
    for (const std::string& line : text.lines) {
        layer.labels.push_back({{x, y + text.size * kAscent}, line, text.size, anchor, colour});
        y += text.lineHeight();
    }
    return y;
}

}  // namespace el::figures
