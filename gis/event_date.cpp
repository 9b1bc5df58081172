#include "gis/event_date.hpp"

#include <cmath>

#include "base/numtext.hpp"
#include "base/decimal_year.hpp"

namespace el::gis {
namespace {

// Reads 1 to `most` digits at `at` into `value`.
bool digits(std::string_view text, std::size_t& at, int most, int& value) {
    const std::size_t start = at;
    value = 0;
    while (at < text.size() && at - start < static_cast<std::size_t>(most) && text[at] >= '0' && text[at] <= '9')
        value = value * 10 + (text[at++] - '0');
    return at > start;
}

bool takes(std::string_view text, std::size_t& at, char c) {
    if (at >= text.size() || text[at] != c) return false;
    ++at;
    return true;
}

// "hh:mm[:ss[.fff]]" followed by nothing, "Z" or "+hh[:mm]" / "-hh[:mm]".
std::optional<double> secondsOfDay(std::string_view text) {
    std::size_t at = 0;
    int hours = 0, minutes = 0, seconds = 0;
    if (!digits(text, at, 2, hours) || !takes(text, at, ':') || !digits(text, at, 2, minutes)) return std::nullopt;
    double fraction = 0.0;
    if (takes(text, at, ':')) {
        if (!digits(text, at, 2, seconds)) return std::nullopt;
        if (takes(text, at, '.')) {
            const std::size_t start = at;
            while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
            fraction = std::stod("0." + std::string(text.substr(start, at - start)) + "0");
        }
    }
    const std::string_view zone = text.substr(at);
    const bool zoneOk = zone.empty() || zone == "Z" ||
                        ((zone[0] == '+' || zone[0] == '-') && zone.size() >= 3 && zone.size() <= 6);
    if (!zoneOk || hours > 24 || minutes > 59 || seconds > 60) return std::nullopt;
    return hours * 3600.0 + minutes * 60.0 + seconds + fraction;
}

std::optional<double> isoDateYear(std::string_view text) {
    std::size_t at = 0;
    int year = 0, month = 1, day = 1;
    if (!digits(text, at, 4, year) || at != 4) return std::nullopt;
    if (at == text.size()) return year;
    if (!takes(text, at, '-') || !digits(text, at, 2, month)) return std::nullopt;
    if (at == text.size()) return decimalYear(year, month, 1);
    if (!takes(text, at, '-') || !digits(text, at, 2, day)) return std::nullopt;
    if (at == text.size()) return decimalYear(year, month, day);
    if (!takes(text, at, 'T') && !takes(text, at, ' ')) return std::nullopt;
    const std::optional<double> seconds = secondsOfDay(text.substr(at));
    if (!seconds) return std::nullopt;
    return decimalYear(year, month, day, *seconds);
}

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::optional<double> eventDateYear(std::string_view text) {
    text = trimmed(text);
    if (text.empty()) return std::nullopt;
    if (const std::optional<double> number = parseNumber(text); number && std::isfinite(*number)) return number;
    return isoDateYear(trimmed(text.substr(0, text.find('/'))));
}

}  // namespace el::gis
