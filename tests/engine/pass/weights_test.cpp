#include "engine/pass/weights.hpp"

#include <cmath>

#include <gtest/gtest.h>

#include "engine/report/report_weights.hpp"
#include "tests/support/recording_host.hpp"

namespace el::engine {
namespace {

using test::RecordingHost;

TEST(Binomial, ProbabilityThroughLogarithmsAndOneYieldPerCall) {
    RecordingHost host;
    EXPECT_NEAR(binomial(10, 3, 0.5, host), 120.0 / 1024, 1e-15);
    EXPECT_NEAR(binomial(4, 4, 0.3, host), std::pow(0.3, 4), 1e-15);
    EXPECT_EQ(binomial(5, 2, 0.0, host), 0);
    EXPECT_EQ(host.yields, 3);
    EXPECT_GT(binomial(20000, 10000, 0.5, host), 0);  // no overflow for large n
}

TEST(SameProbability, CheckValuesAndInvalidSamples) {
    RecordingHost host;
    EXPECT_NEAR(*sameProbability(1, 1, 1, 1, host), 1.3333333333e-05, 1e-14);
    EXPECT_NEAR(*sameProbability(2, 2, 2, 2, host), 1.8e-05, 1e-14);
    EXPECT_NEAR(*sameProbability(10, 10, 10, 10, host), 5.76190476e-05, 1e-13);
    EXPECT_FALSE(sameProbability(0, 0, 0, 0, host));
    EXPECT_FALSE(sameProbability(3, 2, 1, 1, host));
    EXPECT_FALSE(sameProbability(1, 1, 2, 1, host));
}

TEST(AgreementWeight, SimilarityAndSampleSizePowers) {
    EXPECT_DOUBLE_EQ(agreementWeight(8, 10, 6.65, 0), std::pow(0.8, 6.65));
    EXPECT_DOUBLE_EQ(agreementWeight(0, 10, 0, 1), 10);
    EXPECT_EQ(agreementWeight(0, 0, 6.65, 0), 0);
    EXPECT_EQ(agreementWeight(0, 10, -1, 0), 0);  // no infinite weight from a zero base
    EXPECT_EQ(agreementWeight(0, 0, -1, -1), 0);
}

SpeciesComparisons comparison(int m, std::vector<double> same, std::vector<int> viable) {
    SpeciesComparison c;
    c.species = m;
    c.same = std::move(same);
    c.viable = std::move(viable);
    return SpeciesComparisons(std::move(c));
}

TEST(ComputeWeights, TargetWeighsZeroAndCaptionsShowProgress) {
    // Species 0 agrees with the target (2) on 8 of 10 pairs, species 1 shares none.
    auto cmp = comparison(3, {10, 0, 8, 0, 4, 0, 8, 0, 10}, {10, 0, 10, 0, 4, 0, 10, 0, 10});
    RecordingHost host;
    ResamplingMemo resampling;
    const auto w = computeWeights(cmp, resampling, {"A", "B", "T"}, 2, false, 6.65, 0, host);
    EXPECT_DOUBLE_EQ(w.weight[0], std::pow(0.8, 6.65));
    EXPECT_EQ(w.weight[1], 0);
    EXPECT_EQ(w.weight[2], 0);
    EXPECT_EQ(host.captionsOf(Label::RunProgress), (std::vector<std::string>{" 33.3 %", " 66.7 %", " 100 %"}));
    EXPECT_EQ(host.captionsOf(Label::Status),
              (std::vector<std::string>{"WeightA", "WeightB", "WeightT", "Weight calculation end"}));
}

// The weight lines of target and unweighted runs are checked in the golden logs.
TEST(ComputeWeights, AutomaticWeightsAndSpeciesWithoutViablePair) {
    auto cmp = comparison(2, {1, 0, 0, 0}, {1, 0, 0, 0});
    RecordingHost host;
    ResamplingMemo resampling;
    const auto w = computeWeights(cmp, resampling, {"A", "B"}, std::nullopt, true, 6.65, 0, host);
    EXPECT_NEAR(w.weight[0], 1.3333333333e-05, 1e-14);
    EXPECT_EQ(w.weight[1], 0);
    const auto lines = weightLines(w, {"A", "B"}, "");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], "Species, log(probability to obtain same data by resumpling)");
    EXPECT_EQ(lines[2].substr(0, 5), "A, -1");
    EXPECT_EQ(lines[3], "B, no viable pair");
}

}  // namespace
}  // namespace el::engine
