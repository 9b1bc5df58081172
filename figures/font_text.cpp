#include "figures/font_text.hpp"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "figures/cairo_text.hpp"

namespace el::figures {
namespace {

// The glyph runs of the first line, left to right.
template <typename Visit>
void forEachRun(const TextLine& text, Visit visit) {
    const PangoLayoutLine* line = pango_layout_get_line_readonly(text.layout(), 0);
    for (const GSList* run = line != nullptr ? line->runs : nullptr; run != nullptr; run = run->next)
        visit(*static_cast<const PangoGlyphItem*>(run->data));
}

// The width of `text` per pixel of font size: widths scale exactly with the size, and
// figures and reports measure the same texts many times as they fit them to their room.
double widthPerPixel(std::string_view text) {
    constexpr std::size_t kRemembered = 4096;
    thread_local std::unordered_map<std::string, double> known;
    std::string key(text);
    if (const auto found = known.find(key); found != known.end()) return found->second;
    if (known.size() >= kRemembered) known.clear();
    const double width = TextLine(text, 1).width();
    known.emplace(std::move(key), width);
    return width;
}

}  // namespace

double textWidth(std::string_view text, double size) {
    return std::isfinite(size) && size > 0 ? widthPerPixel(text) * size : 0;
}

int missingGlyphCount(std::string_view text) {
    return pango_layout_get_unknown_glyphs_count(TextLine(text, 12).layout());
}

std::vector<std::uint32_t> shapedGlyphs(std::string_view text) {
    std::vector<std::uint32_t> glyphs;
    forEachRun(TextLine(text, 12), [&](const PangoGlyphItem& run) {
        for (int i = 0; i < run.glyphs->num_glyphs; ++i) glyphs.push_back(run.glyphs->glyphs[i].glyph);
    });
    return glyphs;
}

std::vector<std::string> fontFamiliesUsed(std::string_view text) {
    std::vector<std::string> families;
    forEachRun(TextLine(text, 12), [&](const PangoGlyphItem& run) {
        PangoFontDescription* font = pango_font_describe(run.item->analysis.font);
        const char* family = pango_font_description_get_family(font);
        if (family != nullptr && std::find(families.begin(), families.end(), family) == families.end())
            families.emplace_back(family);
        pango_font_description_free(font);
    });
    return families;
}

}  // namespace el::figures
