#pragma once
// Reads the fields of one object record for the record walker, turning a record that is
// cut short, a count or coordinate that is not a number, or a count the rest of
// the file cannot hold into one message text.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "vector/field_reader.hpp"

namespace el::vec {

// A field as a message shows it: a text longer than 80 bytes is cut (at a character
// boundary) and ends in "...", so a hostile file cannot fill the screen.
std::string shownField(std::string_view field);

std::string badTypeText(int object, std::string_view type);

class RecordCursor {
public:
    RecordCursor(FieldReader& reader, int object) : reader_(reader), object_(object) {}

    // A text field; `what` names it in the message when the file ends first.
    std::optional<std::string_view> text(std::string_view what);

    // A count that must leave room for `fieldsEach` fields per unit in the rest of the
    // file, so no size is ever taken from a count the file cannot back.
    std::optional<int> count(std::string_view what, std::int64_t fieldsEach);

    // A count that only has to be a whole number (a point's, which the reader ignores).
    std::optional<int> count(std::string_view what) { return count(what, 0); }

    std::optional<double> coordinate(std::string_view what);

    // The message of the first failure.
    const std::string& error() const { return error_; }

private:
    FieldReader& reader_;
    int object_;
    std::string error_;
};

}  // namespace el::vec
