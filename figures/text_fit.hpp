#pragma once
// Texts laid out to fit a width, measured in the fonts they are drawn with: shrunk a little,
// or wrapped onto more lines, never cut.

#include <string>
#include <string_view>
#include <vector>

#include "figures/scene.hpp"

namespace el::figures {

struct FittedText {
    double size = 12;
    std::vector<std::string> lines;
    double lineHeight() const { return size * 1.2; }
};

// One line at `size` when it fits `width`; else one line at the largest size down to
// `minSize` that fits; else lines at `size` wrapped by wrapLines. Every character stays.
FittedText fitText(std::string_view text, double width, double size, double minSize);

// The lines of `text` at `size` without shrinking, each no wider than `width`: broken where
// the script allows (at blanks, between CJK characters, at Thai word ends), and a word wider
// than the width between its characters; every line keeps at least one character and has
// no blanks at its ends. Bytes that are no UTF-8 come back as U+FFFD, control characters
// as blanks.
std::vector<std::string> wrapLines(std::string_view text, double width, double size);

// Adds the lines as labels, the first with its top at `top`, aligned on `x` by `anchor`;
// returns the y below the last line.
double placeText(Layer& layer, const FittedText& text, double x, double top, TextAnchor anchor, Rgb colour);

}  // namespace el::figures
