#include "cli/batch_options.hpp"

#include <gtest/gtest.h>

namespace el::batch {
namespace {

TEST(BatchOptions, OptionsSetTheSettingsTheWindowWouldHold) {
    const auto parsed = parseCommandLine({"--exclude-limited", "10", "--no-reliability", "-t", "Xus", "--missing",
                                          "row", "--weight-power", "six", "-o", "run.log", "in.csv"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    const auto& v = parsed.options->values;
    EXPECT_EQ(v.get(Setting::ExcludeLimited), "1");
    EXPECT_EQ(v.get(Setting::ExcludingLimit), "10");
    EXPECT_EQ(v.get(Setting::DoReliability), "0");
    EXPECT_EQ(v.get(Setting::TargetSpecies), "Xus");
    EXPECT_EQ(v.get(Setting::MissingMode), "row");
    EXPECT_EQ(v.get(Setting::WeightPower), "six");  // refused later by the run, as in the window
    EXPECT_TRUE(parsed.options->logToFile);
    EXPECT_EQ(v.get(Setting::LogFileName), "run.log");
    EXPECT_EQ(parsed.options->file, "in.csv");
}

TEST(BatchOptions, UsageErrors) {
    EXPECT_FALSE(parseCommandLine({"in.csv", "-t"}).options);
    EXPECT_FALSE(parseCommandLine({"--similarity-output", "both", "in.csv"}).options);
    EXPECT_FALSE(parseCommandLine({}).options);
    EXPECT_FALSE(parseCommandLine({"a.csv", "b.csv"}).options);
}

}  // namespace
}  // namespace el::batch
