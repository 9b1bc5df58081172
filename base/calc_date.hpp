#pragma once
// The date of calculation written into log headers: "MM-DD-YYYY".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace el {

// Parses a SOURCE_DATE_EPOCH text: a whole number of seconds, nothing else.
std::optional<std::int64_t> parseEpochSeconds(std::string_view text);

// The UTC date of the given epoch seconds, as month-day-year with hyphens.
std::string formatUtcDate(std::int64_t epochSeconds);

// Today's local date, as month-day-year with hyphens.
std::string localDateToday();

// The calculation date: the UTC date of SOURCE_DATE_EPOCH when it is set and valid,
// else today's local date. Sets `badEpoch` when the variable is set but not a whole number.
std::string calculationDate(bool* badEpoch = nullptr);

}  // namespace el
