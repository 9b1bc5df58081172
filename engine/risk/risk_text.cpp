#include "engine/risk/risk_text.hpp"

#include <cmath>
#include <cstdio>

#include "base/numtext.hpp"

namespace el::engine {

std::string periodText(double from, double to) { return plainnum(from) + "-" + plainnum(to); }

std::string decimalsText(double value, int decimals, bool sign) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text = buffer;
    if (text == "-0" || (text.rfind("-0.", 0) == 0 && text.find_first_not_of("-0.") == std::string::npos))
        text.erase(0, 1);  // no "-.000" for a value that rounds to zero
    if (text.rfind("0.", 0) == 0) text.erase(0, 1);
    else if (text.rfind("-0.", 0) == 0) text.erase(1, 1);
    if (sign && text.front() != '-' && text.find_first_not_of("0.") != std::string::npos) text.insert(0, "+");
    return text;
}

std::string ratioText(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2g", value);
    const auto parsed = parseNumber(buffer);
    return parsed ? plainnum(*parsed) : std::string(buffer);
}

}  // namespace el::engine
