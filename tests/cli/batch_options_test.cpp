#include "cli/batch_options.hpp"

#include <gtest/gtest.h>

namespace el::test {
namespace {

batch::ParseResult parse(std::vector<std::string> args) {
    args.push_back("v.csv");
    return batch::parseCommandLine(args);
}

// A value the option of `info` accepts.
std::string acceptedValue(const SettingInfo& info) {
    if (info.kind == SettingKind::Choice) return std::string(info.choices.back().value);
    if (info.id == Setting::Threads) return "3";
    return "7";
}

// Each option of the settings table sets its own setting, given as --name VALUE or --name=VALUE.
TEST(BatchOptionTable, EachSettingsOptionSetsItsSettingInBothForms) {
    batch::BatchOptions unused;
    EXPECT_EQ(cmdline::sharedName(batch::optionTable(unused)), "");
    for (const auto& info : settingTable()) {
        const BatchOption& b = info.batch;
        if (b.flag.empty()) continue;
        const std::string flag(b.flag);
        std::vector<std::vector<std::string>> forms{{flag}};
        std::string want(b.switchValue);
        if (!b.argName.empty()) {
            want = acceptedValue(info);
            forms = {{flag, want}, {flag + "=" + want}};
            if (!b.shortFlag.empty()) forms.push_back({std::string(b.shortFlag), want});
        }
        for (const auto& form : forms) {
            const auto parsed = parse(form);
            ASSERT_TRUE(parsed.options) << form[0] << ": " << parsed.error;
            EXPECT_EQ(parsed.options->values.get(info.id), want) << form[0];
            if (b.alsoOn) {
                EXPECT_EQ(parsed.options->values.get(*b.alsoOn), kOn) << form[0];
            }
        }
    }
}

TEST(BatchOptionTable, UsageErrorsNameTheOption) {
    for (const auto& [args, error] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--threads=0"}, "option --threads takes a whole number from 1 to 256, not \"0\""},
             {{"-t=Xus"}, "unknown option: -t=Xus"},
             {{"-s="}, "unknown option: -s="},
             {{"--records-free"}, "unknown option: --records-free"},
             {{"--map-y-down=1"}, "unknown option: --map-y-down=1"},
             {{"--records="}, "option --records needs a value"},
             {{"--hindcast-targets"}, "option --hindcast-targets needs a value all|A,B,..."},
             {{"--hindcast-min-after", "-1"},
              "option --hindcast-min-after takes a whole number of at least 0, not \"-1\""},
             {{"--map-values=some"}, "option --map-values takes known or predicted, not \"some\""},
             {{"--", "--map", "m.svg"}, "more than one FILE given: --map"}}) {
        auto line = args;
        line.insert(line.begin(), "v.csv");
        const auto parsed = batch::parseCommandLine(line);
        EXPECT_FALSE(parsed.options) << args[0];
        EXPECT_EQ(parsed.error, error) << args[0];
    }
    EXPECT_EQ(batch::parseCommandLine({"-s"}).error, "option -s needs a value");
}

TEST(BatchOptionTable, RepeatedOptionsAndJoinedValues) {
    const auto ok = parse({"-t", "A", "--target=B", "--hindcast", "2000,2001", "--hindcast=2005", "--map=m.svg",
                           "--map-extent=0,0,2,1", "--species=A,B"});
    ASSERT_TRUE(ok.options) << ok.error;
    EXPECT_EQ(ok.options->values.get(Setting::TargetSpecies), "B");
    EXPECT_EQ(ok.options->hindcastYears, std::vector<double>{2005});
    EXPECT_EQ(ok.options->mapFile, "m.svg");
    EXPECT_EQ(*ok.options->mapExtent, (std::array<double, 4>{0, 0, 2, 1}));
    EXPECT_EQ(*ok.options->speciesList, "A,B");
}

}  // namespace
}  // namespace el::test
