#include "engine/risk/logistic_fit.hpp"

#include <cmath>

#include <gtest/gtest.h>

namespace el::engine {
namespace {

// n cases at each x, `positives` of them with outcome 1.
void addGroup(std::vector<LogisticCase>& cases, double x, int n, int positives) {
    for (int i = 0; i < n; ++i) cases.push_back({{x}, i < positives ? 1 : 0});
}

TEST(LogisticFit, UnpenalisedFitOfTwoGroupsMatchesTheirLogOdds) {
    // With one binary feature the model is saturated: the intercept is the log-odds of the
    // group at 0 and the slope the log odds ratio, 1/4 against 3/4.
    std::vector<LogisticCase> cases;
    addGroup(cases, 0, 4, 1);
    addGroup(cases, 1, 4, 3);
    const auto fit = fitLogistic(cases, {0.0});
    ASSERT_TRUE(fit);
    EXPECT_TRUE(fit->converged);
    EXPECT_GT(fit->iterations, 0);
    EXPECT_LT(fit->iterations, 20);
    EXPECT_NEAR(fit->coefficients[0], -std::log(3.0), 1e-9);
    EXPECT_NEAR(fit->coefficients[1], 2 * std::log(3.0), 1e-9);
    EXPECT_NEAR(fit->logLikelihood, 2 * (std::log(0.25) + 3 * std::log(0.75)), 1e-9);
}

TEST(LogisticFit, RidgeShrinksTheSlopeAndSolvesItsScoreEquation) {
    // Groups at -1 (1 of 4) and +1 (3 of 4) are symmetric, so the intercept is 0 and the slope b
    // solves 2 (3 - 4 sigma(b)) = lambda b: ln 3 without penalty, about .6835 with lambda 1.
    std::vector<LogisticCase> cases;
    addGroup(cases, -1, 4, 1);
    addGroup(cases, 1, 4, 3);
    const auto fit = fitLogistic(cases, {1.0});
    ASSERT_TRUE(fit && fit->converged);
    const double b = fit->coefficients[1];
    EXPECT_NEAR(fit->coefficients[0], 0, 1e-9);
    EXPECT_NEAR(2 * (3 - 4 * logistic(b)), b, 1e-9);
    EXPECT_NEAR(b, 0.6835, 1e-3);
    EXPECT_LT(b, std::log(3.0));
}

TEST(LogisticFit, TheInterceptIsNotPenalised) {
    // Shifting the feature by a constant moves only the intercept: the slope stays, and the
    // probabilities with it. A penalised intercept would pull them towards one half.
    std::vector<LogisticCase> near, far;
    addGroup(near, -1, 6, 1);
    addGroup(near, 1, 6, 2);
    addGroup(far, 9, 6, 1);
    addGroup(far, 11, 6, 2);
    const auto a = fitLogistic(near, {1.0}), b = fitLogistic(far, {1.0});
    ASSERT_TRUE(a && b && a->converged && b->converged);
    EXPECT_NEAR(a->coefficients[1], b->coefficients[1], 1e-8);
    EXPECT_NEAR(linearPredictor(a->coefficients, {-1}), linearPredictor(b->coefficients, {9}), 1e-7);
}

TEST(LogisticFit, ReportsWhenItDoesNotConverge) {
    // Outcomes all 0: the free intercept runs off to minus infinity.
    std::vector<LogisticCase> none;
    addGroup(none, 0, 5, 0);
    addGroup(none, 1, 5, 0);
    const auto allZero = fitLogistic(none, {1.0, 40});
    ASSERT_TRUE(allZero);
    EXPECT_FALSE(allZero->converged);
    EXPECT_LT(allZero->coefficients[0], -10);

    // Separated groups without penalty: the slope grows without bound; with one it settles.
    std::vector<LogisticCase> separated;
    addGroup(separated, 0, 5, 0);
    addGroup(separated, 1, 5, 5);
    EXPECT_FALSE(fitLogistic(separated, {0.0, 40})->converged);
    const auto ridge = fitLogistic(separated, {1.0});
    EXPECT_TRUE(ridge->converged);
    EXPECT_GT(ridge->coefficients[1], 0);
}

TEST(LogisticFit, RefusesNoCasesAndRowsOfDifferentLength) {
    EXPECT_FALSE(fitLogistic({}));
    EXPECT_FALSE(fitLogistic({{{1.0}, 1}, {{1.0, 2.0}, 0}}));
}

TEST(LogisticFit, LogisticAndLogitStayFiniteAtTheExtremes) {
    EXPECT_DOUBLE_EQ(logistic(800), 1.0);
    EXPECT_GT(logistic(-700), 0.0);
    EXPECT_NEAR(logit(logistic(3.25)), 3.25, 1e-12);
}

}  // namespace
}  // namespace el::engine
