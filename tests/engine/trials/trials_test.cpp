#include "engine/trials/trials.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "tests/support/recording_host.hpp"

namespace el::engine {
namespace {

// Counts given as {hayai, onaji, osoi} per cell, row by row.
EarlyLateCounts countsOf(int n, const std::vector<std::array<int, 3>>& cells) {
    EarlyLateCounts counts{CountMatrix(n), CountMatrix(n), CountMatrix(n)};
    for (int k = 0; k < n * n; ++k) {
        counts.hayai.cells()[static_cast<std::size_t>(k)] = cells[static_cast<std::size_t>(k)][0];
        counts.onaji.cells()[static_cast<std::size_t>(k)] = cells[static_cast<std::size_t>(k)][1];
        counts.osoi.cells()[static_cast<std::size_t>(k)] = cells[static_cast<std::size_t>(k)][2];
    }
    return counts;
}

// Three regions with repeated and distinct count triples, and pairs without counts.
const EarlyLateCounts kThree =
    countsOf(3, {{0, 3, 0}, {2, 1, 0}, {2, 1, 0}, {0, 1, 2}, {0, 3, 0}, {0, 0, 0}, {0, 1, 2}, {0, 0, 0}, {0, 2, 0}});

double lnFactorial(int q) {
    double sum = 0;
    for (int k = 1; k <= q; ++k) sum += std::log(static_cast<double>(k));
    return sum;
}

// A plain second reading of the trials: the grid walked and a table built for every
// region pair, factorials summed on the spot, a linear search for every draw.
TrialStats referenceReliability(const EarlyLateCounts& counts, int trials, TrialRandom& random) {
    const int n = counts.regions();
    std::vector<std::vector<std::array<double, 3>>> table(static_cast<std::size_t>(n * n));  // pe, ps, F per grid point
    for (int p = 0; p < n * n; ++p) {
        const int a = counts.hayai.cells()[static_cast<std::size_t>(p)],
                  b = counts.onaji.cells()[static_cast<std::size_t>(p)],
                  c = counts.osoi.cells()[static_cast<std::size_t>(p)];
        std::vector<double> like;
        double total = 0;
        for (double pe = 0.02; pe <= 0.98; pe += 0.02)
            for (double ps = 0.02; ps <= 0.98; ps += 0.02) {
                const double pl = (1 - pe) - ps;
                if (pl < 0.02) break;
                table[static_cast<std::size_t>(p)].push_back({pe, ps, 0});
                like.push_back(std::exp((a * std::log(pe) - lnFactorial(a)) + lnFactorial(a + b + c) +
                                        (b * std::log(ps) - lnFactorial(b)) + (c * std::log(pl) - lnFactorial(c))));
                total += like.back();
            }
        double f = 0;
        for (std::size_t k = 0; k < like.size(); ++k) table[static_cast<std::size_t>(p)][k][2] = f += like[k] / total;
    }
    test::RecordingHost host;
    PowerIteration power;
    std::vector<std::vector<double>> e(static_cast<std::size_t>(trials));
    for (int t = 0; t < trials; ++t) {
        SquareMatrix tm(n);
        for (int p = 0; p < n * n; ++p) {
            const double r = random.next();
            std::size_t k = 0;
            while (table[static_cast<std::size_t>(p)][k][2] < r) ++k;
            const auto [pe, ps, f] = table[static_cast<std::size_t>(p)][k];
            tm.cells()[static_cast<std::size_t>(p)] = (2 * ps + pe) + 3 * ((1 - pe) - ps);
        }
        power.eigenvector(tm, e[static_cast<std::size_t>(t)], host);
    }
    TrialStats stats;
    for (int i = 0; i < n; ++i) {
        double sum = 0, squares = 0;
        for (const auto& v : e) sum += v[static_cast<std::size_t>(i)];
        for (const auto& v : e)
            squares +=
                (v[static_cast<std::size_t>(i)] - sum / trials) * (v[static_cast<std::size_t>(i)] - sum / trials);
        stats.eigenmean.push_back(sum / trials);
        stats.eigensd.push_back(std::sqrt(squares / trials));
        stats.vectorshift += stats.eigensd.back();
    }
    stats.vectorshift /= n;
    return stats;
}

TEST(TrialRandom, DrawsTheNumbersOfStdMt19937OneByOneOrInSweeps) {
    std::mt19937 reference;  // the default seed, 5489
    TrialRandom random;
    std::vector<float> swept(2000);
    for (int round = 0; round < 400; ++round) {
        // Sweeps of every length across the renewals of the 624-word state, and single draws.
        const std::size_t count = static_cast<std::size_t>(round * 7 % 1999) + 1;
        if (round % 3 == 0) {
            const float one = random.next();
            ASSERT_EQ(one, static_cast<float>(reference() >> 8) * (1.0f / 16777216.0f)) << round;
            continue;
        }
        random.fill(swept.data(), count);
        for (std::size_t k = 0; k < count; ++k)
            ASSERT_EQ(swept[k], static_cast<float>(reference() >> 8) * (1.0f / 16777216.0f)) << round << " " << k;
    }
}

TEST(ProbabilityGrid, VisitsThePointsOfTheRepeatedAdditions) {
    const auto& grid = probabilityGrid();
    ASSERT_EQ(grid.size(), 1128u);
    EXPECT_DOUBLE_EQ(grid.front().pe, 0.02);
    EXPECT_DOUBLE_EQ(grid.front().ps, 0.02);
    EXPECT_NEAR(grid[46].ps, 0.94, 1e-12);  // first row: 47 points
    EXPECT_NEAR(grid[47].pe, 0.04, 1e-12);
    EXPECT_NEAR(grid.back().pe, 0.94, 1e-12);
    EXPECT_NEAR(grid.back().ps, 0.02, 1e-12);
    for (const auto& p : grid) {  // every trial entry, the expected relation code of a point
        const double code = (2 * p.ps + p.pe) + 3 * ((1 - p.pe) - p.ps);
        EXPECT_TRUE(code > 1.1 - 1e-12 && code < 2.94 + 1e-12) << p.pe << " " << p.ps;
    }
}

TEST(Reliability, MatchesAPlainReadingDrawForDraw) {
    test::RecordingHost host;
    TrialRandom random, referenceRandom;
    PowerIteration power;
    const TrialStats got = reliability(kThree, 7, random, power, host);
    const TrialStats want = referenceReliability(kThree, 7, referenceRandom);
    for (int i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(got.eigenmean[static_cast<std::size_t>(i)], want.eigenmean[static_cast<std::size_t>(i)]) << i;
        EXPECT_DOUBLE_EQ(got.eigensd[static_cast<std::size_t>(i)], want.eigensd[static_cast<std::size_t>(i)]) << i;
        EXPECT_GT(got.eigensd[static_cast<std::size_t>(i)], 0) << i;
    }
    EXPECT_DOUBLE_EQ(got.vectorshift, want.vectorshift);
    EXPECT_EQ(host.captionsOf(Label::RunProgress).back(), "reliability trial 7");
    EXPECT_EQ(host.yields, 14);  // one per trial, one per eigenvector

    // The generator goes on from where the first call left it.
    const TrialStats next = reliability(kThree, 7, random, power, host);
    EXPECT_EQ(next.eigenmean, referenceReliability(kThree, 7, referenceRandom).eigenmean);
    EXPECT_NE(next.eigenmean, got.eigenmean);
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
