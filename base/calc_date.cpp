#include "base/calc_date.hpp"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace el {
namespace {

std::string formatDate(int year, unsigned month, unsigned day) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02u-%02u-%04d", month, day, year);
    return buf;
}

}  // namespace

std::optional<std::int64_t> parseEpochSeconds(std::string_view text) {
    if (text.empty()) return std::nullopt;
    std::int64_t value = 0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (res.ec != std::errc() || res.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string formatUtcDate(std::int64_t epochSeconds) {
    using namespace std::chrono;
    const sys_days day = floor<days>(sys_seconds{seconds{epochSeconds}});
    const year_month_day ymd{day};
    return formatDate(static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
                      static_cast<unsigned>(ymd.day()));
}

std::string localDateToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return formatDate(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                      static_cast<unsigned>(local.tm_mday));
}

std::string calculationDate(bool* badEpoch) {
    if (badEpoch) *badEpoch = false;
    if (const char* env = std::getenv("SOURCE_DATE_EPOCH")) {
        if (const auto seconds = parseEpochSeconds(env)) return formatUtcDate(*seconds);
        if (badEpoch) *badEpoch = true;
    }
    return localDateToday();
}

}  // namespace el
