#include "figures/axis_ticks.hpp"

#include <cmath>
#include <cstdio>

#include "base/numtext.hpp"

namespace el::figures {

std::vector<double> niceTicks(double low, double high, int wanted) {
    if (!std::isfinite(low) || !std::isfinite(high)) return {};
    if (high < low) std::swap(low, high);
    if (high - low < 1e-12 * std::max(1.0, std::fabs(high))) {
        low -= 1;
        high += 1;
    }
    const double rough = (high - low) / std::max(1, wanted);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double multiple = 10;
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * power >= rough) {
            multiple = m;
            break;
        }
    // Tick k is k * multiple * power, divided by the power's inverse below 1: the double
    // nearest the decimal value (61, not 60 + 5 * 0.2), so an end tick is not lost to a
    // rounding error when it is compared with the range.
    const double inverse = power < 1 ? std::round(1 / power) : 1, scale = power < 1 ? 1 : power;
    const double step = multiple * power;
    std::vector<double> ticks;
    for (double k = std::ceil(low / step); k * step <= high + step * 1e-9; ++k) {
        const double t = k * multiple * scale / inverse;
        ticks.push_back(t == 0 ? 0.0 : t);
    }
    return ticks;
}

std::string shortNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

std::string logNumber(double value) {
    const std::string text = strnum(value);
    return text.front() == ' ' ? text.substr(1) : text;
}

}  // namespace el::figures
