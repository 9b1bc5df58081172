#include "vector/record_dates.hpp"

#include <cmath>

#include "base/decimal_year.hpp"
#include "base/numtext.hpp"
#include "base/text.hpp"

namespace el::vec {
namespace {

std::optional<DateKind> keywordOf(std::string_view text) {
    if (text == "Arrived" || text == "分布") return DateKind::Arrived;
    if (text == "NotYetArrived" || text == "未分布") return DateKind::NotYetArrived;
    if (text == "Unknown" || text == "不明") return DateKind::Unknown;
    return std::nullopt;
}

// Reads 1 to `most` digits at `at` into `value`.
bool digits(std::string_view text, std::size_t& at, std::size_t most, int& value) {
    const std::size_t start = at;
    value = 0;
    while (at < text.size() && at - start < most && text[at] >= '0' && text[at] <= '9')
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
            fraction = parseNumber("0." + std::string(text.substr(start, at - start)) + "0").value_or(0.0);
        }
    }
    const std::string_view zone = text.substr(at);
    const bool zoneOk =
        zone.empty() || zone == "Z" || ((zone[0] == '+' || zone[0] == '-') && zone.size() >= 3 && zone.size() <= 6);
    if (!zoneOk || hours > 24 || minutes > 59 || seconds > 60) return std::nullopt;
    return hours * 3600.0 + minutes * 60.0 + seconds + fraction;
}

// YYYY, YYYY-MM, YYYY-MM-DD, then a time after "T" or a blank.
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

int keywordRank(DateKind kind) {
    switch (kind) {
        case DateKind::Date: return 0;
        case DateKind::Arrived: return 1;
        case DateKind::NotYetArrived: return 2;
        case DateKind::Unknown: return 3;
    }
    return 3;
}

}  // namespace

std::optional<double> decimalYearOf(std::string_view text) {
    text = trimBlanks(text);
    if (text.empty()) return std::nullopt;
    if (const std::optional<double> number = parseNumber(text); number && std::isfinite(*number)) return number;
    return isoDateYear(trimBlanks(text.substr(0, text.find('/'))));
}

std::optional<RecordDate> recordDateOf(std::string_view text) {
    const std::string_view value = trimBlanks(text);
    if (const auto kind = keywordOf(value)) return RecordDate{*kind, 0, std::string(value)};
    if (const auto number = parseNumber(value)) return RecordDate{DateKind::Date, *number, std::string(value)};
    if (const auto years = decimalYearOf(value)) return RecordDate{DateKind::Date, *years, plainnum(*years)};
    return std::nullopt;
}

bool firstRecordBefore(const RecordDate& a, const RecordDate& b) {
    if (a.kind == DateKind::Date && b.kind == DateKind::Date) return a.value < b.value;
    return keywordRank(a.kind) < keywordRank(b.kind);
}

}  // namespace el::vec
