#include "engine/risk/risk_features.hpp"

#include <cmath>

#include <gtest/gtest.h>

#include "engine/model/run_error.hpp"
#include "engine/risk/rank_percentile.hpp"
#include "engine/risk/reach_table.hpp"

#include "tests/engine/run_fixture.hpp"

namespace el::engine {
namespace {

const std::vector<std::string> kSpecies{"T", "B", "C"};

// Six regions on a plane line (x in metres-like units, so distances are plane distances);
// R6 lies between R1 and R2. Cut off at 2000 with horizon 10, T has reached R1 and R2;
// R3 (2004), R4 (not yet) and R5 (2015) are unreached; R6 is unknown.
vec::VectorData smallFile() {
    vec::VectorData data = test::makeData(kSpecies, {"R1", "R2", "R3", "R4", "R5", "R6"},
                                          {{"1985", "1980", "Arrived"},
                                           {"1995", "1992", "NotYetArrived"},
                                           {"2004", "2001", "1999"},
                                           {"NotYetArrived", "Arrived", "1990"},
                                           {"2015", "1999", "null"},
                                           {"Unknown", "1990", "1990"}});
    const double x[] = {0, 1000, 2000, 3000, 4000, 500};
    for (std::size_t i = 0; i < data.objects.size(); ++i) data.objects[i].parts[0].x = {x[i]};
    return data;
}

class Features : public ::testing::Test {
protected:
    vec::VectorData data = smallFile();
    ReachTable reach = buildReachTable(data, kSpecies, "null");
    RegionCentres centres = regionCentres(data);
    // Scores by region number, chosen by hand; R4 has none (the run left it out).
    std::vector<std::optional<double>> score{0.1, 0.2, 0.5, std::nullopt, 0.3, 0.4};

    CaseInputs inputs(bool withCentres, double knownUpTo = 2020) {
        return {&reach, withCentres ? &centres : nullptr, 10, knownUpTo, recordedCounts(reach, 2000)};
    }
};

TEST_F(Features, ReachTableReadsKeywordsMissingValuesAndCutOffs) {
    EXPECT_TRUE(reach.reachedBy(2, 0, 1900));     // "Arrived": reached at any cut-off
    EXPECT_FALSE(reach.unreachedAt(2, 4, 3000));  // the missing value reads "Unknown": neither
    EXPECT_FALSE(reach.reachedBy(2, 4, 3000));
    EXPECT_TRUE(reach.unreachedAt(0, 2, 2003.9));
    EXPECT_TRUE(reach.reachedBy(0, 2, 2004));
    EXPECT_TRUE(reach.newlyReached(0, 2, 2000, 2004));
    EXPECT_FALSE(reach.newlyReached(0, 2, 2004, 2010));  // the period excludes its start
    EXPECT_EQ(reach.reachedCount(0, 2000), 2);
    EXPECT_EQ(reach.unreachedCount(0, 2000), 3);
    EXPECT_EQ(latestDate(reach), 2015);
}

TEST_F(Features, ReachTableRefusesAValueThatIsNeitherKeywordNorNumber) {
    vec::VectorData bad = data;
    bad.objects[3].values[1] = "arrived";
    try {
        buildReachTable(bad, kSpecies, "null");
        FAIL() << "no error";
    } catch (const RunError& error) {
        EXPECT_NE(std::string(error.what()).find("\"arrived\""), std::string::npos) << error.what();
    }
}

TEST_F(Features, CaseOfTheTargetAtACutOffAsComputedByHand) {
    const SpeciesCase c = speciesCase(inputs(true), 0, 2000, score);
    EXPECT_TRUE(c.scored);
    EXPECT_EQ(c.newRegions, 1);   // R2 (1995) in (1990, 2000]
    EXPECT_EQ(c.openRegions, 4);  // R2 to R5 not reached by 1990
    EXPECT_NEAR(c.recentRate, std::log(1.5 / 3.5), 1e-15);
    ASSERT_EQ(c.regions.size(), 3u);
    const int expectedRegion[] = {2, 3, 4};
    const int outcome[] = {1, 0, 0};  // R3 2004 in (2000, 2010]; R5 2015 beyond it
    const double distance[] = {1000, 2000, 3000};
    const int others[] = {1, 2, 1};  // C 1999; B Arrived and C 1990; B 1999
    // Centred percentiles: score (R3 .5, R5 .3, R4 none), distance, other species (tie).
    const std::vector<std::vector<double>> x{{0.25, -1.0 / 3, -1.0 / 6, c.recentRate},
                                             {0, 0, 1.0 / 3, c.recentRate},
                                             {-0.25, 1.0 / 3, -1.0 / 6, c.recentRate}};
    for (std::size_t i = 0; i < 3; ++i) {
        const RegionCase& r = c.regions[i];
        EXPECT_EQ(r.region, expectedRegion[i]);
        EXPECT_EQ(r.outcome, outcome[i]);
        ASSERT_TRUE(r.distance);
        EXPECT_DOUBLE_EQ(*r.distance, distance[i]);
        EXPECT_EQ(r.otherSpecies, others[i]);
        ASSERT_EQ(r.x.size(), 4u);
        for (std::size_t j = 0; j < 4; ++j) EXPECT_NEAR(r.x[j], x[i][j], 1e-15) << "region " << i << " feature " << j;
    }
    EXPECT_FALSE(c.regions[1].score);
}

TEST_F(Features, WithoutGeometryOrScoreOrLaterDataTheFeaturesSayNothing) {
    // No centres: the distance is left out of the features altogether.
    const SpeciesCase plain = speciesCase(inputs(false), 0, 2000, score);
    ASSERT_EQ(plain.regions[0].x.size(), 3u);
    EXPECT_FALSE(plain.regions[0].distance);
    EXPECT_EQ(riskTerms({false}), (std::vector<std::string>{"intercept", "score", "other_species", "recent_rate"}));
    // A run that stopped: every score at the middle.
    const SpeciesCase unscored = speciesCase(inputs(true), 0, 2000, std::nullopt);
    EXPECT_FALSE(unscored.scored);
    for (const RegionCase& r : unscored.regions) EXPECT_EQ(r.x[0], 0);
    // Data that end before the end of the horizon: no outcome.
    const SpeciesCase open = speciesCase(inputs(true, 2009), 0, 2000, score);
    for (const RegionCase& r : open.regions) EXPECT_FALSE(r.outcome);
}

TEST(RankPercentile, SpreadsValuesEvenlyWithTiesSharedAndMissingInTheMiddle) {
    const auto p = rankPercentiles({3.0, std::nullopt, 1.0, 3.0, 2.0});
    ASSERT_EQ(p.size(), 5u);
    EXPECT_DOUBLE_EQ(p[0], 3.0 / 4);  // ranks 3 and 4 share 3.5: (3.5 - .5) / 4
    EXPECT_DOUBLE_EQ(p[1], 0.5);
    EXPECT_DOUBLE_EQ(p[2], 1.0 / 8);
    EXPECT_DOUBLE_EQ(p[3], 3.0 / 4);
    EXPECT_DOUBLE_EQ(p[4], 3.0 / 8);
    EXPECT_EQ(rankPercentiles({7.0}), std::vector<double>{0.5});
}

}  // namespace
}  // namespace el::engine
