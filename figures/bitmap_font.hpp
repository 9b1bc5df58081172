#pragma once
// A tiny built-in 5x7 bitmap font for the labels of rasterised figures. Printable ASCII
// has its glyphs; every other character is drawn as a box.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace el::figures {

// Five columns, bit 0 the top row of seven.
using GlyphColumns = std::array<std::uint8_t, 5>;

GlyphColumns glyphFor(char32_t character);

// The characters of UTF-8 text; a malformed byte counts as one character of its own.
std::vector<char32_t> decodeUtf8(const std::string& text);

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;
inline constexpr int kGlyphAdvance = 6;  // one empty column between characters

}  // namespace el::figures
