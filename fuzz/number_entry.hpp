#pragma once
// The fuzz entry of the number parser: one input taken as a field's text. parseNumber must
// accept exactly the texts of the number shape, give for them what the C library's strtod
// gives (a value out of range: nothing when too large, a value below the smallest normal
// one when too small), and its printed form must read back as itself. Header-only, so
// that the libFuzzer target and the corpus replay of the test run share it.

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/numtext.hpp"
#include "fuzz/fuzz_require.hpp"

namespace el::fuzz {

// The number shape read independently of the parser: blanks, [+-]digits[.digits] with at
// least one digit, an optional exponent with digits, blanks.
inline bool hasNumberShape(std::string_view text) {
    const auto digitsAt = [&](std::size_t& i) {
        const std::size_t start = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
        return i - start;
    };
    std::size_t i = text.find_first_not_of(" \t");
    if (i == std::string_view::npos) return false;
    if (text[i] == '+' || text[i] == '-') ++i;
    std::size_t digits = digitsAt(i);
    if (i < text.size() && text[i] == '.') digits += digitsAt(++i);
    if (digits == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (digitsAt(i) == 0) return false;
    }
    return text.find_first_not_of(" \t", i) == std::string_view::npos;
}

inline int numberOnBytes(std::string_view text) {
    const auto value = parseNumber(text);
    if (!hasNumberShape(text)) {
        require(!value, "a text without the number shape reads as a number");
        return 0;
    }
    const std::string body(text.substr(text.find_first_not_of(" \t")));
    errno = 0;
    const double expected = std::strtod(body.c_str(), nullptr);
    const bool outOfRange = errno == ERANGE;
    if (outOfRange && std::isinf(expected)) {
        require(!value, "a number beyond the range of a double reads as a number");
        return 0;
    }
    require(value.has_value(), "a number in range does not read");
    require(std::isfinite(*value), "a number reads as infinite");
    if (outOfRange)
        require(std::fabs(*value) < DBL_MIN, "a number too small to represent reads as a large one");
    else
        require(*value == expected, "a number reads as another value than strtod gives");

    const auto again = parseNumber(strnum(*value));
    require(again.has_value() && strnum(*again) == strnum(*value), "a number's text does not read back as itself");
    require(parseNumber(plainnum(*value)) == again, "the plain and the report form read as different values");
    return 0;
}

}  // namespace el::fuzz
