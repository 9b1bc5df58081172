#include "engine/trials.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/recording_host.hpp"

namespace el::engine {
namespace {

// Counts given as {hayai, onaji, osoi} per cell, row by row.
EarlyLateCounts countsOf(int n, const std::vector<std::array<int, 3>>& cells) {
    EarlyLateCounts counts{CountMatrix(n), CountMatrix(n), CountMatrix(n)};
    for (int k = 0; k < n * n; ++k) {
        counts.hayai.cells()[k] = cells[k][0];
        counts.onaji.cells()[k] = cells[k][1];
        counts.osoi.cells()[k] = cells[k][2];
    }
    return counts;
}

// Three regions with repeated and distinct count triples, and pairs without counts.
const EarlyLateCounts kThree =
    countsOf(3, {{0, 3, 0}, {2, 1, 0}, {2, 1, 0}, {0, 1, 2}, {0, 3, 0}, {0, 0, 0}, {0, 1, 2}, {0, 0, 0}, {0, 2, 0}});

TEST(ProbabilityGrid, VisitsThePointsOfTheRepeatedAdditions) {
    const auto& grid = probabilityGrid();
    ASSERT_EQ(grid.size(), 1128u);
    EXPECT_DOUBLE_EQ(grid.front().pe, 0.02);
    EXPECT_DOUBLE_EQ(grid.front().ps, 0.02);
    EXPECT_NEAR(grid[46].ps, 0.94, 1e-12);  // first row: 47 points
    EXPECT_NEAR(grid[47].pe, 0.04, 1e-12);
    EXPECT_NEAR(grid.back().pe, 0.94, 1e-12);
    EXPECT_NEAR(grid.back().ps, 0.02, 1e-12);
}

// The trial results themselves are checked number by number in the golden logs of runs with
// reliability trials; the search of the cumulative tables in fast_paths_test.cpp.
TEST(Reliability, SpreadProgressAndAGeneratorThatGoesOn) {
    test::RecordingHost host;
    TrialRandom random, fresh;
    PowerIteration power;
    const TrialStats got = reliability(kThree, 7, random, power, host);
    for (int i = 0; i < 3; ++i) EXPECT_GT(got.eigensd[i], 0) << i;
    EXPECT_EQ(host.captionsOf(Label::RunProgress).back(), "reliability trial 7");
    EXPECT_EQ(host.yields, 14);  // one per trial, one per eigenvector

    // The same draws give the same results; a second call goes on from where the first left off.
    EXPECT_EQ(reliability(kThree, 7, fresh, power, host).eigenmean, got.eigenmean);
    const TrialStats next = reliability(kThree, 7, random, power, host);
    EXPECT_NE(next.eigenmean, got.eigenmean);
    EXPECT_EQ(reliability(kThree, 7, fresh, power, host).eigenmean, next.eigenmean);
}

TEST(Reliability, OneTrialHasNoSpreadAndHugeCountsStayFinite) {
    test::RecordingHost host;
    TrialRandom random;
    PowerIteration power;
    const TrialStats one = reliability(kThree, 1, random, power, host);
    EXPECT_EQ(one.eigensd, (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(one.vectorshift, 0);

    // Counts this large underflow every grid point of the plain exponential.
    const auto huge = countsOf(2, {{0, 30000, 0}, {30000, 0, 0}, {0, 0, 30000}, {0, 30000, 0}});
    const TrialStats stats = reliability(huge, 2, random, power, host);
    EXPECT_TRUE(std::isfinite(stats.eigenmean[0]) && std::isfinite(stats.eigenmean[1]));
    EXPECT_LT(stats.eigenmean[0], stats.eigenmean[1]);  // region 1 always earlier
}

}  // namespace
}  // namespace el::engine
