#include "engine/run/input_checks.hpp"

#include <gtest/gtest.h>

#include "tests/engine/run_fixture.hpp"

namespace el::engine {
namespace {

using test::makeData;

TEST(InputChecks, DuplicatedNamesAreNamedWithTheirCountsTheFirstFewOnly) {
    const vec::VectorData unique = makeData({"Sp"}, {"A", "B", "C"}, {{"1"}, {"2"}, {"3"}});
    EXPECT_EQ(duplicatedNamesWarning(unique), std::nullopt);

    const vec::VectorData twice =
        makeData({"Sp"}, {"B", "A", "B", "A", "A", "C"}, {{"1"}, {"2"}, {"3"}, {"4"}, {"5"}, {"6"}});
    EXPECT_EQ(duplicatedRegionNames(twice), (std::vector<std::string>{"B", "A"}));
    EXPECT_EQ(duplicatedNamesWarning(twice),
              "2 region names are used more than once: \"B\" (2 regions), \"A\" (3 regions); regions are told apart "
              "by their place in the file, not by name");

    std::vector<std::string> names;
    for (int k = 0; k < 7; ++k) names.insert(names.end(), 2, "R" + std::to_string(k));
    const vec::VectorData many = makeData({"Sp"}, names, std::vector<std::vector<std::string>>(names.size(), {"1"}));
    const std::string text = *duplicatedNamesWarning(many);
    EXPECT_EQ(text.rfind("7 region names are used more than once: \"R0\" (2 regions), ", 0), 0u) << text;
    EXPECT_NE(text.find("\"R4\" (2 regions) and 2 more;"), std::string::npos) << text;
    EXPECT_EQ(text.find("R5"), std::string::npos) << text;
}

TEST(InputChecks, SpeciesWithoutAnyDateIsWarnedOf) {
    const vec::VectorData data = makeData({"Dated", "Keywords", "Empty"}, {"A", "B"},
                                          {{"2001", "Arrived", "null"}, {"NotYetArrived", "分布", "null"}});
    const auto warnings = undatedSpeciesWarnings(data, {"Dated", "Keywords", "Empty"});
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(warnings[0], "the species \"Keywords\" has no dated region (only keywords or missing values): no date "
                           "can be fitted or predicted for it");
    EXPECT_NE(warnings[1].find("\"Empty\""), std::string::npos);
    // Only the species analysed.
    EXPECT_TRUE(undatedSpeciesWarnings(data, {"Dated"}).empty());
}

// The split hides the regions without a date first: a share that hides no more than those
// leaves nothing to validate on.
TEST(InputChecks, TrainingShareThatHidesNoDateIsWarnedOf) {
    std::vector<std::vector<std::string>> values;
    for (const char* v : {"2001", "2002", "2003", "2004", "2005", "NotYetArrived", "NotYetArrived", "null", "未分布",
                          "Unknown"})
        values.push_back({v});
    const vec::VectorData data = makeData({"T"}, {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"}, values);
    EXPECT_EQ(noValidationWarning(data, "T", "0.7"),
              "the training share 0.7 leaves no validation region for \"T\": it keeps 7 of the 10 regions for "
              "training, and \"T\" has a date in only 5 regions (only a hidden date validates the fit)");
    EXPECT_NE(noValidationWarning(data, "T", " 0.5 "), std::nullopt);  // keeps 5: still every date
    EXPECT_EQ(noValidationWarning(data, "T", "0.4"), std::nullopt);   // hides a date
    EXPECT_EQ(noValidationWarning(data, "T", "1"), std::nullopt);     // no split asked for
    EXPECT_EQ(noValidationWarning(data, "T", "most"), std::nullopt);  // the run refuses this itself
    EXPECT_EQ(noValidationWarning(data, "", "0.7"), std::nullopt);
}

}  // namespace
}  // namespace el::engine
