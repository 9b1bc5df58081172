#include "base/parameters.hpp"

#include <set>

#include <gtest/gtest.h>

#include "base/parameter_options.hpp"

namespace el {
namespace {

constexpr Capabilities kWithGis{.gis = true};
constexpr Capabilities kWithoutGis{.gis = false};

std::string refusal(Param id, std::string_view value, const Capabilities& can = kWithGis) {
    return refusalOf(parameter(id), value, can).value_or("");
}

TEST(ParameterRegistry, NamesFlagsAndSpellingsAreUniquePerFrontEnd) {
    std::set<std::string_view> names;
    for (const Parameter& p : parameterTable()) EXPECT_TRUE(names.insert(p.name).second) << p.name;
    for (const FrontEnd front : {kBatch, kConvert, kR}) {
        std::set<std::string> spelled;
        for (const Parameter* p : parametersFor(front)) {
            const std::string_view spelling = front == kR ? p->spelling.rName : p->spelling.flag;
            if (spelling.empty()) continue;
            // The converter reads the layer import and the records import as two command lines;
            // R's records import is a function of its own.
            const bool apart = p->group == (front == kR ? ParamGroup::Records : ParamGroup::Layer);
            const std::string key = std::to_string(apart) + std::string(spelling);
            EXPECT_TRUE(spelled.insert(key).second) << p->name << " spelt " << spelling;
            if (front != kR && !p->spelling.shortFlag.empty()) {
                EXPECT_TRUE(spelled.insert(std::string(p->spelling.shortFlag)).second) << p->spelling.shortFlag;
            }
        }
    }
    EXPECT_EQ(parameterByName("hindcast_min_after"), Param::HindcastMinAfter);
    EXPECT_FALSE(parameterByName("nosuch").has_value());
}

TEST(ParameterRegistry, EveryDefaultPassesItsOwnCheck) {
    for (const Parameter& p : parameterTable()) {
        if (p.defaultValue.empty() && !p.has(kEmptyAllowed)) continue;  // nothing given, nothing checked
        EXPECT_FALSE(refusalOf(p, p.defaultValue, kWithoutGis).has_value()) << p.name << "=" << p.defaultValue;
        if (p.type == ParamType::Switch) {
            EXPECT_TRUE(p.defaultValue == kOn || p.defaultValue == kOff) << p.name;
        }
    }
}

TEST(ParameterRegistry, RunSettingsAreTheSettingsTable) {
    for (const SettingInfo& info : settingTable()) {
        const Parameter& p = parameter(parameterOf(info.id));
        ASSERT_EQ(p.setting, info.id) << info.name;
        EXPECT_EQ(p.name, info.name);
        EXPECT_EQ(p.defaultValue, info.startup);
        EXPECT_EQ(p.spelling.caption, info.caption);
        EXPECT_EQ(p.spelling.flag, info.batch.flag);
    }
    const SettingValues values = ParamValues().settings();
    EXPECT_EQ(values.get(Setting::WeightPower), "6.65");
    EXPECT_EQ(values.get(Setting::Threads), "");
}

TEST(ParameterRegistry, HindcastEligibilityDefaultsAreDeclaredOnce) {
    EXPECT_EQ(wholeDefault(Param::HindcastMinBefore), 5);
    EXPECT_EQ(wholeDefault(Param::HindcastMinAfter), 3);
    EXPECT_EQ(wholeDefault(Param::HindcastMinUnreached), 1);
    EXPECT_EQ(helpText(parameter(Param::HindcastMinAfter), kBatch),
              "... and at least N regions dated after Y (default 3)");
}

// The thread count is refused in the same words by every front end, and the settings' own
// reading agrees with the registry on every text.
TEST(ParameterChecks, ThreadCountRefusalAgreesWithTheSettingsReading) {
    for (const char* text : {"", "1", "8", " 2 ", "256", "0", "-2", "2.5", "257", "all", "1e400", "nan"}) {
        const bool refused = refusalOf(parameter(Param::Threads), text, kWithGis).has_value();
        EXPECT_EQ(refused, !threadCountOf(text).has_value()) << '"' << text << '"';
    }
    EXPECT_EQ(refusal(Param::Threads, "0"), " takes a whole number from 1 to 256, not \"0\"");
}

TEST(ParameterChecks, RefusalsNameTheValueAndWhatWasExpected) {
    EXPECT_EQ(refusal(Param::HindcastMinBefore, "-1"), " takes a whole number of at least 0, not \"-1\"");
    EXPECT_EQ(refusal(Param::HindcastMinBefore, "0"), "");
    EXPECT_EQ(refusal(Param::MapValues, "both"), " takes known, predicted or risk, not \"both\"");
    EXPECT_EQ(refusal(Param::Hindcast, "2000,x"), ": \"x\" is not a year");
    EXPECT_EQ(refusal(Param::Hindcast, "1990,2000.5"), "");
    EXPECT_EQ(refusal(Param::HindcastTargets, ""), " needs at least one species name, or all");
    EXPECT_EQ(refusal(Param::SpeciesFields, "a,,b"), " needs a comma-separated list of field names");
    EXPECT_EQ(refusal(Param::Encoding, "NOPE-9"), ": unknown text encoding \"NOPE-9\"");
    EXPECT_EQ(refusal(Param::Encoding, "utf_8"), "");
    EXPECT_EQ(refusal(Param::Join, "C=F"), "");
    EXPECT_EQ(refusal(Param::Join, "F"), "");
    EXPECT_NE(refusal(Param::Join, "=F"), "");
    EXPECT_NE(refusal(Param::Join, "C="), "");
    // Numbers the run reads are taken as typed: the run names what it cannot use.
    EXPECT_EQ(refusal(Param::WeightPower, "x"), "");
}

TEST(ParameterChecks, MapExtentNeedsFourNumbersEachMinimumBelowItsMaximum) {
    EXPECT_EQ(refusal(Param::MapExtent, "0,0,10,5"), "");
    const std::string bad = " takes xmin,ymin,xmax,ymax, not ";
    EXPECT_EQ(refusal(Param::MapExtent, "1,2,3"), bad + "\"1,2,3\": four numbers are needed");
    EXPECT_EQ(refusal(Param::MapExtent, "1,2,a,4"), bad + "\"1,2,a,4\": \"a\" is not a number");
    EXPECT_EQ(refusal(Param::MapExtent, "3,2,3,4"), bad + "\"3,2,3,4\": each minimum must lie below its maximum");
}

TEST(ParameterChecks, FileExtensionsInAnyCaseAndGisLayersOnlyWithGis) {
    EXPECT_EQ(refusal(Param::Map, "m.PNG"), "");
    EXPECT_EQ(refusal(Param::Map, "m.gif"), ": \"m.gif\" must end in .png, .svg or .pdf");
    EXPECT_EQ(refusal(Param::Report, "r.htm"), "");
    EXPECT_EQ(refusal(Param::Summary, "s.txt"), ": \"s.txt\" must end in .json");
    EXPECT_EQ(refusal(Param::Predictions, "p.gpkg", kWithGis), "");
    EXPECT_EQ(refusal(Param::Predictions, "p.gpkg", kWithoutGis),
              ": this build has no GIS support; write \"p.gpkg\" as .csv instead");
    EXPECT_EQ(refusal(Param::Predictions, "p.csv", kWithoutGis), "");
}

TEST(ParameterValues, StartFromTheDefaultsAndReadTyped) {
    ParamValues values;
    EXPECT_EQ(values.whole(Param::HindcastMinBefore), 5);
    EXPECT_FALSE(values.given(Param::HindcastMinBefore));
    EXPECT_FALSE(values.box(Param::MapExtent).has_value());
    EXPECT_TRUE(values.list(Param::Species).empty());
    values.set(Param::MapExtent, "-1,2.5,3,4");
    values.set(Param::Hindcast, "1990,2000");
    values.set(Param::Species, "a,b");
    EXPECT_TRUE(values.given(Param::MapExtent));
    EXPECT_EQ(values.box(Param::MapExtent), (std::array<double, 4>{-1, 2.5, 3, 4}));
    EXPECT_EQ(values.numbers(Param::Hindcast), (std::vector<double>{1990, 2000}));
    EXPECT_EQ(values.list(Param::Species), (std::vector<std::string>{"a", "b"}));
}

// The options made from the registry check, keep the value and switch on what they imply.
TEST(ParameterOptions, CommandLineOptionsCheckKeepAndSwitch) {
    ParamValues values;
    std::vector<cmdline::Option> options = commandLineOptions(
        {&parameter(Param::Threads), &parameter(Param::ExcludingLimit), &parameter(Param::DoReliability)}, kBatch, true,
        values, kWithGis);
    ASSERT_EQ(options.size(), 3u);
    EXPECT_EQ(options[0].apply("0"), "option --threads takes a whole number from 1 to 256, not \"0\"");
    EXPECT_FALSE(values.given(Param::Threads));
    EXPECT_EQ(options[0].apply("3"), "");
    EXPECT_EQ(values.whole(Param::Threads), 3);
    EXPECT_EQ(options[1].apply("7"), "");
    EXPECT_EQ(values.text(Param::ExcludingLimit), "7");
    EXPECT_TRUE(values.on(Param::ExcludeLimited));
    EXPECT_FALSE(options[2].takesValue);
    EXPECT_EQ(options[2].apply(""), "");
    EXPECT_FALSE(values.on(Param::DoReliability));
}

// A repeatable option keeps every value given, in order; any other keeps the last.
TEST(ParameterOptions, ARepeatableOptionAddsEachValue) {
    ParamValues values;
    std::vector<cmdline::Option> options =
        commandLineOptions({&parameter(Param::Filter), &parameter(Param::Join)}, kBatch, true, values, kWithGis);
    EXPECT_TRUE(values.items(Param::Filter).empty());
    EXPECT_EQ(options[0].apply("LifeForm=Insects"), "");
    EXPECT_EQ(options[0].apply("Year=1990,1991"), "");
    EXPECT_EQ(options[0].apply(""), "option --filter needs a value");
    EXPECT_EQ(values.items(Param::Filter), (std::vector<std::string>{"LifeForm=Insects", "Year=1990,1991"}));
    EXPECT_EQ(options[1].apply("a=b"), "");
    EXPECT_EQ(options[1].apply("c=d"), "");
    EXPECT_EQ(values.text(Param::Join), "c=d");
}

}  // namespace
}  // namespace el
