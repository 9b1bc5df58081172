#include "engine/risk/risk_check.hpp"

#include <cmath>

#include <gtest/gtest.h>

#include "engine/hindcast/rank_measures.hpp"
#include "engine/risk/logistic_fit.hpp"

namespace el::engine {
namespace {

// Regions of three species with risks on a coarse grid (so that ties occur), outcomes that
// follow the risks loosely, and scores and distances of their own.
std::vector<ScoredRegion> mixedRegions() {
    std::vector<ScoredRegion> regions;
    unsigned state = 12345;
    const auto next = [&] { return (state = state * 1103515245u + 12345u) >> 16 & 0x7fff; };
    for (int species = 0; species < 3; ++species)
        for (int i = 0; i < 30 + 10 * species; ++i) {
            ScoredRegion r;
            r.species = species;
            r.risk = (1 + static_cast<int>(next() % 19)) / 20.0;
            r.outcome = static_cast<double>(next() % 1000) / 1000 < r.risk * 0.8 ? 1 : 0;
            r.score = static_cast<double>(next() % 7) / 7 - 0.5;
            if (i % 5 != 0) r.distance = static_cast<double>(next() % 11) / 11 - 0.5;
            regions.push_back(r);
        }
    return regions;
}

TEST(RiskCheck, FiguresMatchAPlainComputation) {
    const auto regions = mixedRegions();
    const CheckFigures f = checkFigures(regions, "1995-2005");
    double brier = 0, arrivals = 0, predicted = 0, aucSum = 0, scoreSum = 0;
    std::vector<double> arrived, other;
    for (int species = 0; species < 3; ++species) {
        std::vector<double> a, o, sa, so;
        for (const ScoredRegion& r : regions) {
            if (r.species != species) continue;
            (r.outcome ? a : o).push_back(r.risk);
            (r.outcome ? sa : so).push_back(r.score);
        }
        aucSum += *orderedPairShare(o, a);      // a region newly reached should carry the larger risk
        scoreSum += *orderedPairShare(sa, so);  // ... and the smaller (earlier) score
    }
    for (const ScoredRegion& r : regions) {
        brier += (r.risk - r.outcome) * (r.risk - r.outcome);
        arrivals += r.outcome;
        predicted += r.risk;
        (r.outcome ? arrived : other).push_back(r.risk);
    }
    const double n = static_cast<double>(regions.size()), base = arrivals / n;
    EXPECT_EQ(f.species, 3);
    EXPECT_EQ(f.regions, static_cast<int>(n));
    EXPECT_EQ(f.aucSpecies, 3);
    EXPECT_NEAR(*f.auc.value, aucSum / 3, 1e-12);
    EXPECT_NEAR(*f.scoreAuc.value, scoreSum / 3, 1e-12);
    EXPECT_NEAR(*f.pooledAuc.value, *orderedPairShare(other, arrived), 1e-12);
    EXPECT_NEAR(*f.brier.value, brier / n, 1e-15);
    EXPECT_NEAR(*f.baseRate.value, base, 1e-15);
    EXPECT_NEAR(*f.baseBrier.value, base * (1 - base), 1e-15);
    EXPECT_NEAR(*f.brierSkill.value, 1 - (brier / n) / (base * (1 - base)), 1e-12);
    EXPECT_NEAR(*f.predictedToObserved.value, predicted / arrivals, 1e-12);
    EXPECT_TRUE(f.distanceAuc.value);  // over the regions that have a distance
    EXPECT_TRUE(f.calibrationConverged);
}

TEST(RiskCheck, RankAucEqualsThePairShareWithTies) {
    const std::vector<double> higher{0.3, 0.5, 0.5, 0.9, 0.1}, lower{0.5, 0.2, 0.1, 0.1};
    EXPECT_NEAR(*rankAuc(higher, lower), *orderedPairShare(lower, higher), 1e-15);
    EXPECT_FALSE(rankAuc({}, lower));
}

TEST(RiskCheck, CalibrationLineOfTwoRiskLevelsPassesThroughTheirObservedShares) {
    // 20 regions at risk .1 of which 4 arrived, 20 at .4 of which 10 arrived: the unpenalised
    // line through (logit .1, logit .2) and (logit .4, logit .5).
    std::vector<ScoredRegion> regions;
    for (int i = 0; i < 40; ++i)
        regions.push_back({0, i < 20 ? 0.1 : 0.4, (i < 4 || (i >= 20 && i < 30)) ? 1 : 0, 0, {}});
    const CheckFigures f = checkFigures(regions, "1995-2005");
    const double slope = (logit(0.5) - logit(0.2)) / (logit(0.4) - logit(0.1));
    EXPECT_NEAR(*f.calibrationSlope.value, slope, 1e-7);
    EXPECT_NEAR(*f.calibrationIntercept.value, logit(0.2) - slope * logit(0.1), 1e-7);
    EXPECT_NEAR(*f.predictedToObserved.value, (20 * 0.1 + 20 * 0.4) / 14, 1e-12);
    ASSERT_EQ(f.reliability.size(), 5u);
    EXPECT_EQ(f.reliability[0].regions, 8);
    EXPECT_DOUBLE_EQ(f.reliability[0].meanRisk, 0.1);
    EXPECT_DOUBLE_EQ(f.reliability[0].observed, 4.0 / 8);  // ties keep their order: the 4 arrivals first
    EXPECT_DOUBLE_EQ(f.reliability[4].observed, 0);
    EXPECT_DOUBLE_EQ(f.reliability[2].lowest, 0.1);
    EXPECT_DOUBLE_EQ(f.reliability[2].highest, 0.4);
}

TEST(RiskCheck, FiguresThatCannotBeComputedSayWhy) {
    std::vector<ScoredRegion> none;
    for (int i = 0; i < 6; ++i) none.push_back({i % 2, 0.1 * (i + 1), 0, 0, {}});
    const CheckFigures f = checkFigures(none, "1995-2005");
    EXPECT_FALSE(f.auc.value);
    EXPECT_NE(f.auc.reason.find("1995-2005"), std::string::npos);
    EXPECT_FALSE(f.brierSkill.value);
    EXPECT_NE(f.brierSkill.reason.find("no region got a first record in 1995-2005"), std::string::npos);
    EXPECT_FALSE(f.calibrationSlope.value);
    EXPECT_FALSE(f.predictedToObserved.value);
    EXPECT_EQ(f.distanceAuc.reason, "the regions have no geometry");
    EXPECT_DOUBLE_EQ(*f.baseRate.value, 0);
    EXPECT_EQ(f.reliability.size(), 5u);  // six regions: groups of 1, 1, 1, 1, 2

    const CheckFigures empty = checkFigures({}, "1995-2005");
    EXPECT_FALSE(empty.brier.value);
    EXPECT_TRUE(empty.reliability.empty());
}

}  // namespace
}  // namespace el::engine
