#include "vector/record_cursor.hpp"

#include <cmath>
#include <limits>

#include "base/numtext.hpp"

namespace el::vec {

std::string shownField(std::string_view field) {
    constexpr std::size_t kLongest = 80;
    if (field.size() <= kLongest) return std::string(field);
    std::size_t cut = kLongest;
    while (cut > 0 && (static_cast<unsigned char>(field[cut]) & 0xC0) == 0x80) --cut;  // not inside a character
    return std::string(field.substr(0, cut)) + "...";
}

std::string badTypeText(int object, std::string_view type) {
    return "Bad in the " + strnum(object) + "th data of vector file. Type:" + shownField(type);
}

namespace {

// A whole, non-negative 32-bit count, or nothing.
std::optional<int> parseCount(std::string_view field) {
    const auto value = parseNumber(field);
    if (!value || *value < 0 || *value != std::floor(*value) ||
        *value > static_cast<double>(std::numeric_limits<int>::max()))
        return std::nullopt;
    return static_cast<int>(*value);
}

std::string endsInsideText(int object, std::string_view what) {
    return "The file ends inside the " + strnum(object) + "th data of vector file (" + std::string(what) + ")";
}

std::string badCountText(int object, std::string_view field) {
    return "Bad count in the " + strnum(object) + "th data of vector file: " + shownField(field);
}

std::string badCoordinateText(int object, std::string_view field) {
    return "Bad coordinate in the " + strnum(object) + "th data of vector file: " + shownField(field);
}

}  // namespace

std::optional<std::string_view> RecordCursor::text(std::string_view what) {
    auto field = reader_.next();
    if (!field) error_ = endsInsideText(object_, what);
    return field;
}

std::optional<int> RecordCursor::count(std::string_view what, std::int64_t fieldsEach) {
    const auto field = text(what);
    if (!field) return std::nullopt;
    const auto value = parseCount(*field);
    if (!value || static_cast<std::int64_t>(*value) * fieldsEach > static_cast<std::int64_t>(reader_.remainingBytes())) {
        error_ = badCountText(object_, *field);
        return std::nullopt;
    }
    return value;
}

std::optional<double> RecordCursor::coordinate(std::string_view what) {
    const auto field = text(what);
    if (!field) return std::nullopt;
    const auto value = parseNumber(*field);
    if (!value) error_ = badCoordinateText(object_, *field);
    return value;
}

}  // namespace el::vec
