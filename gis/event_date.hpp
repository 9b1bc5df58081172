#pragma once
// The dates of occurrence records as decimal years: a number ("2004", "1998.5"), an ISO
// date of any precision ("2004", "2004-06", "2004-06-12"), with a time ("2004-06-12T10:00:00Z",
// the date and time as written, any zone ignored) or an interval of them
// ("2004-06-01/2004-06-30", of which the start counts). A month alone is its first day.

#include <optional>
#include <string_view>

namespace el::gis {

// Empty for an empty text and for anything not of these forms or not a real date.
std::optional<double> eventDateYear(std::string_view text);

}  // namespace el::gis
