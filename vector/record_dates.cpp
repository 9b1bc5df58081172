#include "vector/record_dates.hpp"

#include <cctype>

#include "base/decimal_year.hpp"
#include "base/numtext.hpp"

namespace el::vec {
namespace {

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<DateKind> keywordOf(std::string_view text) {
    if (text == "Arrived" || text == "分布") return DateKind::Arrived;
    if (text == "NotYetArrived" || text == "未分布") return DateKind::NotYetArrived;
    if (text == "Unknown" || text == "不明") return DateKind::Unknown;
    return std::nullopt;
}

bool digitsAt(std::string_view text, std::size_t from, std::size_t count) {
    for (std::size_t i = from; i < from + count; ++i)
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    return true;
}

int numberAt(std::string_view text, std::size_t from, std::size_t count) {
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i) value = value * 10 + (text[i] - '0');
    return value;
}

// YYYY-MM-DD as a decimal year, as the GIS import reads a date field.
std::optional<double> isoDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    if (!digitsAt(text, 0, 4) || !digitsAt(text, 5, 2) || !digitsAt(text, 8, 2)) return std::nullopt;
    return decimalYear(numberAt(text, 0, 4), numberAt(text, 5, 2), numberAt(text, 8, 2));
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

std::optional<RecordDate> recordDateOf(std::string_view text) {
    const std::string_view value = trimmed(text);
    if (const auto kind = keywordOf(value)) return RecordDate{*kind, 0, std::string(value)};
    if (const auto number = parseNumber(value)) return RecordDate{DateKind::Date, *number, std::string(value)};
    if (const auto years = isoDate(value)) return RecordDate{DateKind::Date, *years, plainnum(*years)};
    return std::nullopt;
}

bool firstRecordBefore(const RecordDate& a, const RecordDate& b) {
    if (a.kind == DateKind::Date && b.kind == DateKind::Date) return a.value < b.value;
    return keywordRank(a.kind) < keywordRank(b.kind);
}

}  // namespace el::vec
