#pragma once
// Calendar dates as decimal years: year + (day of year - 1) / days in the year, with the
// time of day, when there is one, as a fraction of its day.

#include <optional>

namespace el {

bool isLeapYear(int year);

// Empty for a month outside 1..12, a day outside the month or seconds outside 0..86400.
std::optional<double> decimalYear(int year, int month, int day, double secondsOfDay = 0.0);

}  // namespace el
