#include "base/settings.hpp"

#include <set>

#include <gtest/gtest.h>

#include "base/calc_date.hpp"

namespace el {
namespace {

TEST(SettingTable, StartUpValuesOfTheWindow) {
    const SettingValues values;
    EXPECT_EQ(values.get(Setting::DataFileName), "vector.csv");
    EXPECT_EQ(values.get(Setting::LogFileName), "log.csv");
    EXPECT_EQ(values.get(Setting::SkipFormatCheck), "1");
    EXPECT_EQ(values.get(Setting::TargetSpecies), "");
    EXPECT_EQ(values.get(Setting::ExcludingLimit), "5");
    EXPECT_EQ(values.get(Setting::WeightPower), "6.65");
    EXPECT_EQ(values.get(Setting::SampleN), "0");
    EXPECT_EQ(values.get(Setting::TrainingRatio), "1");
    EXPECT_EQ(values.get(Setting::IterationN), "100");
    EXPECT_EQ(values.get(Setting::DoReliability), "1");
    EXPECT_EQ(values.get(Setting::ExamineWeight), "0");
    EXPECT_EQ(values.get(Setting::SimOutput), "none");
    EXPECT_EQ(values.get(Setting::MissingMode), "matrix");
    EXPECT_EQ(values.get(Setting::ElMatrixOutput), "none");
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
