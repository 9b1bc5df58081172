#pragma once
// Small text helpers shared by the libraries: trimming blanks, ASCII case folding and
// splitting at commas.

#include <string>
#include <string_view>
#include <vector>

namespace el {

// The text without the blanks (space and tab, or the characters of `blanks`) at either end.
std::string_view trimBlanks(std::string_view text, std::string_view blanks = " \t");

// A copy with the ASCII capitals lowered; other bytes (UTF-8 included) stay as they are.
std::string asciiLower(std::string_view text);

// True when the texts are equal after lowering their ASCII capitals.
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);

// The parts between commas, as written: "a,,b" gives "a", "", "b" and "" gives one empty part.
std::vector<std::string> splitAtCommas(std::string_view text);

}  // namespace el
