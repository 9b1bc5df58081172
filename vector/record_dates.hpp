#pragma once
// The one date reader of the imports: a number (a year, or whatever the user dates by), an
// ISO date at any precision ("2004", "2004-06", "2004-06-12", with a time "2004-06-12T10:00:00Z"
// and any zone ignored, the date and time as written), an interval of them ("2004-06-01/2004-06-30",
// "1894/1896": its start counts), or a keyword of the tool. ISO dates become decimal years
// (base/decimal_year.hpp); a month alone is its first day.

#include <optional>
#include <string>
#include <string_view>

namespace el::vec {

enum class DateKind { Date, Arrived, NotYetArrived, Unknown };

struct RecordDate {
    DateKind kind = DateKind::Date;
    double value = 0;   // the date, for kind Date
    std::string text;   // the value as the data set holds it: a number as written, an ISO date as its decimal year
};

// The decimal year of a number or an ISO date or interval; empty for an empty text, a
// keyword and anything not of these forms or not a real date.
std::optional<double> decimalYearOf(std::string_view text);

// The date a text stands for, keywords included, or nothing when it is none of the forms.
std::optional<RecordDate> recordDateOf(std::string_view text);

// True when `a` is the better first record of a pair than `b`: the earlier of two dates; a
// date over any keyword (a dated record says more than "Arrived"); then Arrived, NotYetArrived
// and Unknown in that order (a record of presence outweighs one of absence).
bool firstRecordBefore(const RecordDate& a, const RecordDate& b);

}  // namespace el::vec
