#include "figures/report_text.hpp"

#include <cctype>
#include <cmath>
#include <cstdio>

#include "engine/model/prediction.hpp"

namespace el::figures {

std::string fixedText(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    const std::string shown = text;
    return shown.find_first_not_of("-0.") == std::string::npos && shown[0] == '-' ? shown.substr(1) : shown;
}

std::string coefficientText(double r, int n) {
    const std::string value = r == engine::kNotComputable || !std::isfinite(r) ? "not computable" : fixedText(r, 3);
    return value + " (" + std::to_string(n) + (n == 1 ? " region)" : " regions)");
}

std::string percentText(double share) { return fixedText(std::round(share * 100), 0) + "\u00A0%"; }

std::string isoDate(const std::string& monthDayYear) {
    const std::string& d = monthDayYear;
    if (d.size() != 10 || d[2] != '-' || d[5] != '-') return d;
    for (const std::size_t at : {0u, 1u, 3u, 4u, 6u, 7u, 8u, 9u})
        if (std::isdigit(static_cast<unsigned char>(d[at])) == 0) return d;
    return d.substr(6, 4) + "-" + d.substr(0, 2) + "-" + d.substr(3, 2);
}

}  // namespace el::figures
