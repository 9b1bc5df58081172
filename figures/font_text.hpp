#pragma once
// Text in the figures' fonts: "DejaVu Sans", with "Noto Sans CJK JP" for the characters it
// lacks (Japanese names and keywords) and whatever font fontconfig offers for the rest.
// Layout measures with the same fonts the renderer draws with.

#include <string>
#include <string_view>

namespace el::figures {

// Advance width in pixels of the UTF-8 `text` set at `size` pixels; bytes that are no
// UTF-8 count as U+FFFD.
double textWidth(std::string_view text, double size);

// The file of the font that draws `c` (for tests and diagnostics); "" when no font has it.
std::string fontFileFor(char32_t c);

}  // namespace el::figures
