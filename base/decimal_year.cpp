#include "base/decimal_year.hpp"

namespace el {

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

std::optional<double> decimalYear(int year, int month, int day, double secondsOfDay) {
    static constexpr int kDaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1) return std::nullopt;
    const bool leap = isLeapYear(year);
    const int monthLength = kDaysInMonth[month - 1] + (month == 2 && leap ? 1 : 0);
    if (day > monthLength || !(secondsOfDay >= 0.0 && secondsOfDay <= 86400.0)) return std::nullopt;
    int dayOfYear = day;
    for (int m = 1; m < month; ++m) dayOfYear += kDaysInMonth[m - 1] + (m == 2 && leap ? 1 : 0);
    const double daysInYear = leap ? 366.0 : 365.0;
    return year + (dayOfYear - 1 + secondsOfDay / 86400.0) / daysInYear;
}

}  // namespace el
