#include <gtest/gtest.h>

#include "engine/report_header.hpp"
#include "engine/report_results.hpp"
#include "engine/report_weights.hpp"

namespace el::engine {
namespace {

TEST(ReportHeader, HeaderSpeciesBlockAndPowerLine) {
    EXPECT_EQ(headerLines("vector.csv", "12-05-2026"),
              (LogLines{"Supervised forecasting of the range expansion of alien species by early-late relationship", "",
                        "File name: vector.csv", "Date of calculation: 12-05-2026", ""}));
    EXPECT_EQ(speciesBlockLines({"A", "Xus"}, std::string("Xus"), true),
              (LogLines{"Species analyzed (training and target)", "A", "Xus", "Target species:Xus"}));
    EXPECT_EQ(speciesBlockLines({"A"}, std::nullopt, true).back(), "Automatic weight for the case without target species");
    EXPECT_EQ(speciesBlockLines({"A"}, std::nullopt, false).back(), "A");
    EXPECT_EQ(powerLines(6.65, 0),
              (LogLines{"", "Power in weight calculation for similarity: 6.65   number of samples: 0", ""}));
}

TEST(ReportSimilarity, MatrixFormsAndMinusOneWithoutViablePairs) {
    SpeciesComparison cmp;
    cmp.species = 2;
    cmp.same = {4, 0, 0, 0};
    cmp.viable = {4, 0, 0, 0};
    const auto lines = similarityLines(cmp, {"A", "B"}, SimilarityForm::Dissimilarity);
    EXPECT_EQ(lines, (LogLines{" ", "Dissimilarity:  1-similarity(number of same value/number of all elements)",
                               "  , A, B", "A,  0, -1", "B, -1, -1", " ",
                               "Number of viable pairs in early-late relation）", "  , A, B", "A,  4,  0", "B,  0,  0"}));
    EXPECT_EQ(similarityLines(cmp, {"A", "B"}, SimilarityForm::Similarity)[3], "A,  1, -1");
}

SpeciesBlock block(bool isTarget, bool predictable, double b) {
    SpeciesFit fit;
    fit.nt = 3;
    fit.predictable = predictable;
    fit.a = predictable ? 2 : 0;
    fit.b = b;
    fit.rt = predictable ? 1 : -10;
    return SpeciesBlock{"X", isTarget, fit, 0.25, {BlockRow{"R1", "2000", 1998, "2000", 0.5}}};
}

TEST(ReportSpeciesBlock, PredictionLinePlusRuleAndHeaders) {
    const auto other = speciesBlockLines(block(false, true, 1998));
    EXPECT_EQ(other, (LogLines{"Species: X", "Average in STD of fluctuation tryal:  .25",
                               "Correlation coefficient of infestation date (training region): 1   Number of regions: 3",
                               "Predicted infestation date = 2 x region score + 1998",
                               "Region, Infestation date, Predicted infestation date", "R1, 2000,  1998", ""}));
    EXPECT_EQ(speciesBlockLines(block(false, true, -5))[3], "Predicted infestation date = 2 x region score-5");
    EXPECT_EQ(speciesBlockLines(block(false, true, 0))[3], "Predicted infestation date = 2 x region score 0");
}

TEST(ReportSpeciesBlock, TargetBlockAndUnpredictableClosingLine) {
    const auto lines = speciesBlockLines(block(true, false, 0));
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[2], "Correlation coefficient of infestation date (training region):-10   Number of regions: 3");
    EXPECT_EQ(lines[3], "Correlation coefficient of infestation date (validation region):-10   Number of regions: 0");
    EXPECT_EQ(lines[4],
              "Correlation coefficient of infestation date (training & validation region):-10   Number of regions: 3");
    EXPECT_EQ(lines[6],
              "Region, Training data, Relative infestation date, Actual infestation date, SD of fluctuation trial");
    EXPECT_EQ(lines[7], "R1, 2000,  1998, 2000,  .5");
    EXPECT_EQ(lines[8], "Infestation date is not predictable");
    EXPECT_EQ(speciesBlockLines(block(true, true, 1))[6],
              "Region, Training data, Estimated infestation date, Actual infestation date, SD of fluctuation trial");
}

TEST(ReportResults, ScoreTableRegionCountsAndAdjustedMatrixInScoreOrder) {
    EXPECT_EQ(regionCountLines(7, 3), (LogLines{"", "Number of regions: 7", "Number of regions finally used: 3"}));
    const auto score = scoreTableLines({"R1", "R2"}, {0.5, 0.866}, {1, 0}, {0, 0}, {0, 0.25});
    EXPECT_EQ(score, (LogLines{" ", "Score for region (large value means late infestation)",
                               "Region, Eigenvector, Average in fluctuation trials, Std in trials",
                               "R2,  .866,  0,  .25", "R1,  .5,  0,  0"}));
    SquareMatrix M(2);
    M(0, 0) = 2; M(0, 1) = 1; M(1, 0) = 3; M(1, 1) = 2;
    EXPECT_EQ(adjustedMatrixLines(M, {"R1", "R2"}, {1, 0}),
              (LogLines{"", "", "Matrix for calculation (adjusted):", "地域,R2,R1", "R2, 2, 3", "R1, 1, 2"}));
}

TEST(ReportWeightTest, FileHeaderSummaryLineAndCaption) {
    EXPECT_EQ(weightTestHeader("v.csv", "12-05-2026"), "File name: v.csv  Date of calculation: 12-05-2026");
    SpeciesFit fit;
    fit.rt = 0.5;
    fit.rv = -10;
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
