#include "engine/model/prediction.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace el::engine {
namespace {

FitSums sumsOf(std::initializer_list<std::pair<double, double>> dateScore) {
    FitSums sums;
    for (auto [date, score] : dateScore) sums.add(date, score);
    return sums;
}

const FitSums kEven = sumsOf({{2000, 1}, {2002, 2}, {2004, 3}});

TEST(FitSpecies, LineThroughTheMeansWithMatchedSpread) {
    auto fit = fitSpecies(kEven, {});
    EXPECT_TRUE(fit.predictable);
    EXPECT_DOUBLE_EQ(fit.a, 2);
    EXPECT_DOUBLE_EQ(fit.b, 1998);
    EXPECT_DOUBLE_EQ(fit.rt, 1);
    EXPECT_EQ(fit.rv, kNotComputable);  // no validation region
    EXPECT_DOUBLE_EQ(fit.rw, fit.rt);

    fit = fitSpecies(sumsOf({{2004, 1}, {2002, 2}, {2000, 3}}), {});  // dates running backwards
    EXPECT_DOUBLE_EQ(fit.rt, -1);
    EXPECT_DOUBLE_EQ(fit.a, 2);
    EXPECT_DOUBLE_EQ(fit.b, 1998);
}

TEST(FitSpecies, TooFewOrDegenerateTrainingDataIsNotPredictable) {
    for (const FitSums& training : {FitSums{}, sumsOf({{2000, 1}}), sumsOf({{2000, 1}, {2000, 2}, {2000, 3}}),
                                    sumsOf({{2000, 1.5}, {2001, 1.5}}),
                                    sumsOf({{1e200, 1}, {2e200, 2}, {3e200, 3}})}) {  // squares overflow
        const auto fit = fitSpecies(training, sumsOf({{1e200, 1}, {4e200, 2}}));
        EXPECT_FALSE(fit.predictable);
        EXPECT_EQ(fit.rt, kNotComputable);
        EXPECT_EQ(fit.a, 0);
        EXPECT_EQ(fit.b, 0);
        EXPECT_TRUE(std::isfinite(fit.rv) && std::isfinite(fit.rw));
    }
}

TEST(FitSpecies, ValidationAndWholeCoefficients) {
    auto fit = fitSpecies(kEven, sumsOf({{2010, 4}}));
    EXPECT_EQ(fit.nv, 1);
    EXPECT_EQ(fit.rv, kNotComputable);
    EXPECT_GT(fit.rw, 0.9);
    EXPECT_LT(fit.rw, 1);
    fit = fitSpecies(kEven, sumsOf({{2006, 5}, {2008, 4}}));
    EXPECT_DOUBLE_EQ(fit.rv, -1);
    EXPECT_EQ(fit.nt, 3);
    EXPECT_EQ(fit.nv, 2);
}

TEST(TrialScale, ConvertsSpreadToDateUnitsOrGivesZero) {
    EXPECT_DOUBLE_EQ(sampleSd({2, 4, 6, 8}), std::sqrt(20.0 / 3));
    EXPECT_DOUBLE_EQ(trialScale({1, 2, 3}, {2, 4, 6}, 3), 1.5);
    EXPECT_EQ(trialScale({0.7}, {0.7}, 2), 0);          // one region
    EXPECT_EQ(trialScale({1, 2, 3}, {5, 5, 5}, 2), 0);  // trial means without spread
    EXPECT_EQ(trialScale({1, 2, 3}, {}, 2), 0);         // no trials
}

}  // namespace
}  // namespace el::engine
