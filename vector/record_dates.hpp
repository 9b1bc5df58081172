#pragma once
// The dates of a records table: a number (a year, or whatever the user dates by), an ISO
// date (YYYY-MM-DD, as a decimal year), or a keyword of the tool.

#include <optional>
#include <string>
#include <string_view>

namespace el::vec {

enum class DateKind { Date, Arrived, NotYetArrived, Unknown };

struct RecordDate {
    DateKind kind = DateKind::Date;
    double value = 0;   // the date, for kind Date
    std::string text;   // the value as the data set holds it
};

// The date a text stands for, or nothing when it is none of the forms.
std::optional<RecordDate> recordDateOf(std::string_view text);

// True when `a` is the better first record of a pair than `b`: the earlier of two dates; a
// date over any keyword (a dated record says more than "Arrived"); then Arrived, NotYetArrived
// and Unknown in that order (a record of presence outweighs one of absence).
bool firstRecordBefore(const RecordDate& a, const RecordDate& b);

}  // namespace el::vec
