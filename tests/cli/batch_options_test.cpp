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
             {{"--map-values=some"}, "option --map-values takes known, predicted or risk, not \"some\""},
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

// The subsets and the country codes reach the records source; their rules are checked once
// every option is read.
TEST(BatchOptionTable, SubsetsAndCountryCodesOfARecordsTable) {
    const auto ok = batch::parseCommandLine({"--records", "r.csv", "--regions", "w.json", "--join", "country=id",
                                             "--country-codes", "alpha-3", "--filter", "LifeForm=Insects",
                                             "--filter=Year=1990,1991", "--min-regions", "14", "-t", "Harmonia"});
    ASSERT_TRUE(ok.options) << ok.error;
    const vec::RecordsSource& source = ok.options->records;
    EXPECT_EQ(source.countryCodes, "alpha-3");
    EXPECT_EQ(source.filters, (std::vector<std::string>{"LifeForm=Insects", "Year=1990,1991"}));
    EXPECT_EQ(source.minRegions, 14);
    EXPECT_EQ(source.keptSpecies, "Harmonia");
    const auto points = batch::parseCommandLine(
        {"--occurrences", "p.zip", "--regions", "w.json", "--filter", "basisOfRecord=HUMAN_OBSERVATION"});
    ASSERT_TRUE(points.options) << points.error;  // a download's lines are filtered as a table's rows
    EXPECT_EQ(points.options->records.filters, (std::vector<std::string>{"basisOfRecord=HUMAN_OBSERVATION"}));
    for (const auto& [line, error] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--records", "r.csv", "--regions", "w.json", "--country-codes", "numeric"},
              "option --country-codes needs --records with --join COLUMN=FIELD (the table's column of country names)"},
             {{"--records", "r.csv", "--country-codes", "iso"},
              "option --country-codes takes numeric, alpha-2 or alpha-3, not \"iso\""},
             {{"--records", "r.csv", "--filter", "LifeForm"},
              "option --filter takes COLUMN=VALUE[,VALUE...], e.g. LifeForm=Insects, not \"LifeForm\""},
             {{"--occurrences", "p.csv", "--regions", "w.json", "--filter", "a"},
              "option --filter takes COLUMN=VALUE[,VALUE...], e.g. LifeForm=Insects, not \"a\""},
             {{"--records", "r.csv", "--min-regions", "0"},
              "option --min-regions takes a whole number of at least 1, "
              "not \"0\""},
             {{"--min-regions", "3", "v.csv"}, "the records options need --records TABLE or --occurrences FILE"}})
        EXPECT_EQ(batch::parseCommandLine(line).error, error);
}

TEST(BatchOptionTable, TheSheetOfASpreadsheet) {
    const auto ok = batch::parseCommandLine({"--records", "db.XLSX", "--sheet", "FirstRecords", "-t", "H"});
    ASSERT_TRUE(ok.options) << ok.error;
    EXPECT_EQ(ok.options->records.sheet, "FirstRecords");
    for (const auto& [line, error] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--records", "r.csv", "--sheet", "Data"},
              "option --sheet needs --records with a spreadsheet (.xlsx or .ods)"},
             {{"--occurrences", "p.ods", "--regions", "w.json", "--sheet", "Data"},
              "option --sheet needs --records with a spreadsheet (.xlsx or .ods)"},
             {{"--sheet", "Data", "v.csv"}, "the records options need --records TABLE or --occurrences FILE"}})
        EXPECT_EQ(batch::parseCommandLine(line).error, error);
}

}  // namespace
}  // namespace el::test
