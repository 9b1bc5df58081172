#include "engine/trials.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/support/recording_host.hpp"

namespace el::engine {
namespace {

struct Triple {
    int a, b, c;
};

EarlyLateCounts countsOf(int n, const std::vector<Triple>& cells) {
    EarlyLateCounts counts{CountMatrix(n), CountMatrix(n), CountMatrix(n)};
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            const Triple& t = cells[static_cast<std::size_t>(i) * n + j];
            counts.hayai(i, j) = t.a;
            counts.onaji(i, j) = t.b;
            counts.osoi(i, j) = t.c;
        }
    return counts;
}

// A deliberately plain second reading of the trials: a grid walk and a table per region
// pair, factorials summed on the spot, a linear search and a fresh power iteration.
double lnFactorial(int q) {
    double sum = 0;
    for (int k = 1; k <= q; ++k) sum += std::log(static_cast<double>(k));
    return sum;
}

std::vector<double> referenceEigenvector(const std::vector<std::vector<double>>& m) {
    const std::size_t n = m.size();
    std::vector<double> v(n, 0.0);
    v[0] = 1;
    for (int k = 0; k < 1000000; ++k) {
        std::vector<double> u(n, 0.0);
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = 0; j < n; ++j) u[i] += m[i][j] * v[j];
        double len = 0;
        for (double x : u) len += x * x;
        len = std::sqrt(len);
        for (double& x : u) x /= len;
        double d = 0;
        for (std::size_t i = 0; i < n; ++i) d += std::fabs(u[i] - v[i]);
        d /= static_cast<double>(n);
        v = u;
        if (d < 1e-7) break;
    }
    double len = 0;
    for (double x : v) len += x * x;
    len = std::sqrt(len);
    for (double& x : v) x /= len;
    return v;
}

TrialStats referenceReliability(const EarlyLateCounts& counts, int trials, TrialRandom& random) {
    const int n = counts.regions();
    struct PairTable {
        std::vector<double> pe, ps, cumulative;
    };
    std::vector<std::vector<PairTable>> table(n, std::vector<PairTable>(n));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            const int a = counts.hayai(i, j), b = counts.onaji(i, j), c = counts.osoi(i, j);
            PairTable& t = table[i][j];
            std::vector<double> like;
            for (double pe = 0.02; pe <= 0.98; pe += 0.02)
                for (double ps = 0.02; ps <= 0.98; ps += 0.02) {
                    const double pl = (1 - pe) - ps;
                    if (pl < 0.02) break;
                    t.pe.push_back(pe);
                    t.ps.push_back(ps);
                    like.push_back(std::exp((a * std::log(pe) - lnFactorial(a)) + lnFactorial(a + b + c) +
                                            (b * std::log(ps) - lnFactorial(b)) + (c * std::log(pl) - lnFactorial(c))));
                }
            double total = 0;
            for (double l : like) total += l;
            double f = 0;
            for (double l : like) {
                f += l / total;
                t.cumulative.push_back(f);
            }
        }
    std::vector<std::vector<double>> e;
    for (int trial = 0; trial < trials; ++trial) {
        std::vector<std::vector<double>> tm(n, std::vector<double>(n));
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) {
                const double r = random.next();
                const PairTable& t = table[i][j];
                std::size_t k = 0;
                while (t.cumulative[k] < r) ++k;
                const double pl = (1 - t.pe[k]) - t.ps[k];
                tm[i][j] = (2 * t.ps[k] + t.pe[k]) + 3 * pl;
            }
        e.push_back(referenceEigenvector(tm));
    }
    TrialStats stats;
    for (int i = 0; i < n; ++i) {
        double sum = 0;
        for (const auto& v : e) sum += v[i];
        const double mean = sum / trials;
        double sq = 0;
        for (const auto& v : e) sq += (v[i] - mean) * (v[i] - mean);
        stats.eigenmean.push_back(mean);
        stats.eigensd.push_back(std::sqrt(sq / trials));
    }
    double s = 0;
    for (double sd : stats.eigensd) s += sd;
    stats.vectorshift = s / n;
    return stats;
}

// Three regions with repeated and distinct count triples, one pair without any count.
EarlyLateCounts threeRegions() {
    return countsOf(3, {{0, 3, 0}, {2, 1, 0}, {2, 1, 0},  //
                        {0, 1, 2}, {0, 3, 0}, {0, 0, 0},  //
                        {0, 1, 2}, {0, 0, 0}, {0, 2, 0}});
}

TEST(ProbabilityGrid, HasTheVisitedPointsInOrder) {
    const auto& grid = probabilityGrid();
    ASSERT_EQ(grid.size(), 1128u);
    EXPECT_DOUBLE_EQ(grid.front().pe, 0.02);
    EXPECT_DOUBLE_EQ(grid.front().ps, 0.02);
    EXPECT_NEAR(grid.back().pe, 0.94, 1e-12);
    EXPECT_NEAR(grid.back().ps, 0.02, 1e-12);
    EXPECT_NEAR((1 - grid.back().pe) - grid.back().ps, 0.04, 1e-12);
    // pe rows of 47, 46, ... 1 points; the expected relation code spans 1.1 .. 2.94.
    EXPECT_NEAR(grid[47].pe, 0.04, 1e-12);
    EXPECT_NEAR(grid[46].ps, 0.94, 1e-12);
    double low = 3, high = 0;
    for (const auto& p : grid) {
        const double code = (2 * p.ps + p.pe) + 3 * ((1 - p.pe) - p.ps);
        low = std::min(low, code);
        high = std::max(high, code);
    }
    EXPECT_NEAR(low, 1.1, 1e-12);
    EXPECT_NEAR(high, 2.94, 1e-12);
}

TEST(Reliability, MatchesAPlainReadingDrawForDraw) {
    const auto counts = threeRegions();
    test::RecordingHost host;
    TrialRandom random, referenceRandom;
    PowerIteration power;
    const TrialStats got = reliability(counts, 7, random, power, host);
    const TrialStats want = referenceReliability(counts, 7, referenceRandom);
    for (int i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(got.eigenmean[i], want.eigenmean[i]) << i;
        EXPECT_DOUBLE_EQ(got.eigensd[i], want.eigensd[i]) << i;
        EXPECT_GT(got.eigensd[i], 0) << i;
    }
    EXPECT_DOUBLE_EQ(got.vectorshift, want.vectorshift);
    // Both used the same number of draws: the generators are in step.
    EXPECT_EQ(random.next(), referenceRandom.next());

    EXPECT_EQ(host.captionsOf(Label::RunProgress).front(), "reliability trial 1");
    EXPECT_EQ(host.captionsOf(Label::RunProgress).back(), "reliability trial 7");
    EXPECT_EQ(host.yields, 14);  // one per trial, one per eigenvector
}

TEST(Reliability, ContinuesTheRandomSequenceFromCallToCall) {
    const auto counts = threeRegions();
    test::RecordingHost host;
    TrialRandom random, fresh;
    PowerIteration power;
    const TrialStats first = reliability(counts, 3, random, power, host);
    const TrialStats second = reliability(counts, 3, random, power, host);
    const TrialStats again = reliability(counts, 3, fresh, power, host);
    EXPECT_NE(first.eigenmean, second.eigenmean);
    EXPECT_EQ(first.eigenmean, again.eigenmean);
}

TEST(Reliability, OneTrialHasNoSpread) {
    test::RecordingHost host;
    TrialRandom random;
    PowerIteration power;
    const TrialStats stats = reliability(threeRegions(), 1, random, power, host);
    EXPECT_EQ(stats.eigensd, (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(stats.vectorshift, 0);
    for (double m : stats.eigenmean) EXPECT_GT(m, 0);
}

TEST(Reliability, ManySpeciesStayFinite) {
    // Counts this large underflow every grid point of a plain exponential.
    const auto counts = countsOf(2, {{0, 30000, 0}, {30000, 0, 0}, {0, 0, 30000}, {0, 30000, 0}});
    test::RecordingHost host;
    TrialRandom random;
    PowerIteration power;
    const TrialStats stats = reliability(counts, 2, random, power, host);
    for (double m : stats.eigenmean) EXPECT_TRUE(std::isfinite(m));
    // Region 1 is always earlier than region 2: the drawn codes sit at the ends of the grid.
    EXPECT_LT(stats.eigenmean[0], stats.eigenmean[1]);
}

}  // namespace
}  // namespace el::engine
