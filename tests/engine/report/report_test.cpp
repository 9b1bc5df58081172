// Report forms that the example runs do not reach; the rest is checked line by line
// against the example logs by the batch tests.

#include <gtest/gtest.h>

#include "engine/report/report_results.hpp"

namespace el::engine {
namespace {

SpeciesBlock block(bool isTarget, bool predictable, double b) {
    SpeciesFit fit;
    fit.nt = 3;
    fit.predictable = predictable;
    fit.a = predictable ? 2 : 0;
    fit.b = b;
    return SpeciesBlock{"X", isTarget, fit, 0.25, {BlockRow{"R1", "2000", 1998, "2000", 0.5}}};
}

TEST(ReportSpeciesBlock, PlusOnlyBeforeAPositiveInterceptAndClosingLines) {
    const auto other = speciesBlockLines(block(false, true, 1998));
    EXPECT_EQ(other[3], "Predicted infestation date = 2 x region score + 1998");
    EXPECT_EQ(other[5], "R1, 2000,  1998");
    EXPECT_EQ(other.back(), "");
    EXPECT_EQ(speciesBlockLines(block(false, true, -5))[3], "Predicted infestation date = 2 x region score-5");
    EXPECT_EQ(speciesBlockLines(block(false, true, 0))[3], "Predicted infestation date = 2 x region score 0");
    const auto target = speciesBlockLines(block(true, false, 0));
    EXPECT_EQ(target[7], "R1, 2000,  1998, 2000,  .5");
    EXPECT_EQ(target.back(), "Infestation date is not predictable");
}

TEST(ReportWeightTest, FileHeaderSummaryLineAndCaption) {
    EXPECT_EQ(weightTestHeader("v.csv", "12-05-2026"), "File name: v.csv  Date of calculation: 12-05-2026");
    SpeciesFit fit;
    fit.rt = 0.5;
    fit.rw = 0.25;
    EXPECT_EQ(weightTestLine("Xus", 0.1, 0, fit),
              "Species, power for similarity,  power for number of sanples, correlation coefficient for training "
              "region, those in validation region, those in whole data (training & validation),Xus, .1, 0, .5,-10, .25");
    EXPECT_EQ(weightTestCaption("Xus", 0.1, 0, fit),
              "Species, power for similarity,  power for number of sanples,correlation coefficient for training & "
              "validation regions,Xus, .1, 0, .25");
}

}  // namespace
}  // namespace el::engine
