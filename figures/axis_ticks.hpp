#pragma once
// "Nice" tick values (1, 2 or 5 times a power of ten) for a value range, and short number
// texts for axis and legend labels.

#include <string>
#include <vector>

namespace el::figures {

// About `wanted` ticks covering [low, high]; a degenerate range is widened first.
std::vector<double> niceTicks(double low, double high, int wanted = 5);

// A number as a short label: up to 6 significant digits, no trailing zeros, no leading blank.
std::string shortNumber(double value);

}  // namespace el::figures
