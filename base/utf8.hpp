#pragma once
// The one UTF-8 decoder of the libraries: well-formed sequences only (no overlong forms, no
// surrogates, nothing above U+10FFFF).

#include <cstddef>
#include <string_view>
#include <vector>

namespace el {

// The length of the well-formed UTF-8 sequence at the start of `text`; 0 when none starts
// there (or `text` is empty).
std::size_t utf8SequenceLength(std::string_view text);

// The offset of the first byte that starts no well-formed sequence; text.size() when the
// whole text is UTF-8.
std::size_t utf8ValidPrefix(std::string_view text);

// The characters of a UTF-8 text as code points. A byte that starts no well-formed
// sequence counts as one character, its byte value.
std::vector<char32_t> utf8CodePoints(std::string_view text);

}  // namespace el
