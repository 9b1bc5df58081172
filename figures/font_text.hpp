#pragma once
// Text in the figures' fonts, set by Pango: "DejaVu Sans", with "Noto Sans CJK JP" for the
// Japanese names and keywords, and for every other script the font fontconfig offers
// (Thai, Devanagari, Arabic, ...), shaped by HarfBuzz and laid out in either direction.
// Layout measures with the same fonts and shaping the renderer draws with.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace el::figures {

// Advance width in pixels of the UTF-8 `text` set on one line at `size` pixels; bytes that
// are no UTF-8 count as U+FFFD, control characters as blanks.
double textWidth(std::string_view text, double size);

// For tests and diagnostics: how many characters of `text` no font has (drawn as boxes),
// the glyphs it is drawn with in visual order, and the families of the fonts used.
int missingGlyphCount(std::string_view text);
std::vector<std::uint32_t> shapedGlyphs(std::string_view text);
std::vector<std::string> fontFamiliesUsed(std::string_view text);

}  // namespace el::figures
