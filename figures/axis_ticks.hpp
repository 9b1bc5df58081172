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

// A number as the log writes it (up to 15 significant digits, ".25", "-.25") without the
// blank the log puts before a value >= 0: for hover texts that show the log's own numbers.
std::string logNumber(double value);

}  // namespace el::figures
