#pragma once
// The number texts of the risk's messages and sentences: a period "1995-2005", a share or
// score with few decimals and no zero before the point (".74", "-.013"), a ratio with two
// significant digits ("1.4").

#include <string>

namespace el::engine {

// "from-to", each in the plain number form (1995, 1995.5).
std::string periodText(double from, double to);

// `value` with `decimals` decimals, no zero before the point below magnitude 1; with
// `sign`, a "+" before a value above 0.
std::string decimalsText(double value, int decimals, bool sign = false);

// `value` with two significant digits, trailing zeros dropped ("1.4", "0.71", "12").
std::string ratioText(double value);

}  // namespace el::engine
