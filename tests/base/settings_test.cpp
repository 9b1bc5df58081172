#include "base/settings.hpp"

#include <set>

#include <gtest/gtest.h>

#include "base/calc_date.hpp"

namespace el {
namespace {

// The start-up values that shape a run's results are checked through the golden logs of
// runs with default options; these are the ones no run there shows.
TEST(SettingTable, StartUpValuesNoGoldenRunShows) {
    const SettingValues values;
    for (const auto& [id, value] : std::vector<std::pair<Setting, std::string>>{
             {Setting::DataFileName, "vector.csv"}, {Setting::LogFileName, "log.csv"}, {Setting::SkipFormatCheck, "1"},
             {Setting::TargetSpecies, ""}, {Setting::ExcludingLimit, "5"}})
        EXPECT_EQ(values.get(id), value) << settingInfo(id).name;
}

TEST(SettingTable, NamesFlagsAndChoicesAreConsistent) {
    std::set<std::string_view> names, flags;
    for (const auto& info : settingTable()) {
        EXPECT_TRUE(names.insert(info.name).second) << info.name;
        EXPECT_EQ(settingByName(info.name), info.id);
        if (!info.batch.flag.empty()) {
            EXPECT_TRUE(flags.insert(info.batch.flag).second) << info.batch.flag;
        }
        if (info.kind == SettingKind::Choice) {
            bool startupIsAChoice = false;
            for (const auto& choice : info.choices) startupIsAChoice |= choice.value == info.startup;
            EXPECT_TRUE(startupIsAChoice) << info.name;
        }
        if (info.kind == SettingKind::Check) {
            EXPECT_TRUE(info.startup == kOn || info.startup == kOff);
        }
    }
    EXPECT_FALSE(settingByName("nosuch").has_value());
}

TEST(SettingTable, ThreadCountIsEveryCoreOrAWholeNumberInRange) {
    EXPECT_GE(threadCountOf("").value_or(0), 1);
    EXPECT_EQ(threadCountOf("8"), 8);
    EXPECT_EQ(threadCountOf(" 1 "), 1);
    EXPECT_EQ(threadCountOf("256"), 256);
    for (const char* bad : {"0", "-2", "2.5", "257", "all", "1e400"}) EXPECT_FALSE(threadCountOf(bad).has_value()) << bad;
}

TEST(CalculationDate, MonthDayYearFromEpoch) {
    EXPECT_EQ(formatUtcDate(1796428800), "12-05-2026");
    EXPECT_EQ(formatUtcDate(0), "01-01-1970");
    EXPECT_EQ(formatUtcDate(951782400), "02-29-2000");
    EXPECT_EQ(parseEpochSeconds("1796428800"), 1796428800);
    EXPECT_FALSE(parseEpochSeconds("12.5").has_value());
    EXPECT_FALSE(parseEpochSeconds("").has_value());
    EXPECT_FALSE(parseEpochSeconds("soon").has_value());
    EXPECT_EQ(localDateToday().size(), 10u);
}

}  // namespace
}  // namespace el
