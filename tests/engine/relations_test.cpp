#include "engine/relations.hpp"

#include <gtest/gtest.h>

#include "tests/engine/run_fixture.hpp"
#include "tests/support/recording_host.hpp"

namespace el::engine {
namespace {

Status date(double d) { return {StatusKind::Date, d}; }
const Status kArrived{StatusKind::Arrived, 0};
const Status kNotYet{StatusKind::NotYetArrived, 0};
const Status kUnknown{StatusKind::Unknown, 0};

TEST(RelationCode, TableOfTheFourKinds) {
    EXPECT_EQ(relationCode(date(2000), date(2001)), 1);
    EXPECT_EQ(relationCode(date(2001), date(2001)), 2);
    EXPECT_EQ(relationCode(date(2002), date(2001)), 3);
    EXPECT_EQ(relationCode(kArrived, date(2000)), 0);
    EXPECT_EQ(relationCode(kNotYet, date(2000)), 3);
    EXPECT_EQ(relationCode(kArrived, kNotYet), 1);
    EXPECT_EQ(relationCode(kNotYet, kArrived), 3);
    EXPECT_EQ(relationCode(kNotYet, kNotYet), 0);
    EXPECT_EQ(relationCode(kArrived, kArrived), 0);
    for (const Status& s : {date(1), kArrived, kNotYet, kUnknown}) {
        EXPECT_EQ(relationCode(kUnknown, s), 0);
        EXPECT_EQ(relationCode(s, kUnknown), 0);
    }
}

// Four regions, two species:
//   A: 2000, 2002, Arrived, NotYetArrived
//   B: 2001, 2001, Unknown, 2003
class FourRegions : public ::testing::Test {
protected:
    void SetUp() override {
        const auto data = test::makeData({"A", "B"}, {"R1", "R2", "R3", "R4"},
                                         {{"2000", "2001"}, {"2002", "2001"}, {"Arrived", "Unknown"},
                                          {"NotYetArrived", "2003"}});
        test::RecordingHost host;
        status = buildStatusMatrix(data, buildSpeciesTable(data, {"A", "B"}, ""), "null", host);
    }
    StatusMatrix status;
};

TEST_F(FourRegions, CountsOverSpeciesForOrderedPairs) {
    const auto c = countRelations(status);
    EXPECT_EQ(c.hayai(0, 1), 1);  // A: 2000 < 2002
    EXPECT_EQ(c.onaji(0, 1), 1);  // B: same date
    EXPECT_EQ(c.osoi(1, 0), 1);
    EXPECT_EQ(c.hayai(0, 3), 2);  // both species reach R1 before R4
    EXPECT_EQ(c.osoi(3, 0), 2);
    EXPECT_EQ(c.hayai(2, 3), 1);  // Arrived before NotYetArrived
    EXPECT_EQ(c.hayai(0, 2) + c.onaji(0, 2) + c.osoi(0, 2), 0);
    EXPECT_EQ(c.onaji(0, 0), 2);
    EXPECT_EQ(c.onaji(2, 2), 0);
    EXPECT_EQ(c.onaji(3, 3), 1);
}

TEST_F(FourRegions, SpeciesComparisonCountsViableAndSamePairs) {
    const auto cmp = compareSpecies(status);
    EXPECT_EQ(cmp.viablepairs(0, 0), 4);
    EXPECT_EQ(cmp.viablepairs(1, 1), 3);
    EXPECT_EQ(cmp.viablepairs(0, 1), 3);
    EXPECT_EQ(cmp.samepairs(0, 1), 2);
    EXPECT_EQ(cmp.samepairs(1, 0), 2);
}

TEST_F(FourRegions, RegionViableLeavesTheTargetOutButKeepsWeightZeroSpecies) {
    EXPECT_EQ(regionViable(status, -1), (std::vector<int>{6, 6, 1, 6}));
    EXPECT_EQ(regionViable(status, 1), (std::vector<int>{3, 3, 1, 3}));
}

TEST_F(FourRegions, EarlyLateMatrixIsTheWeightedMeanCode) {
    const auto el = buildEarlyLateMatrix(status, {1.0, 0.5}, -1);
    EXPECT_DOUBLE_EQ(el.M(0, 1), (1 * 1 + 0.5 * 2) / 1.5);
    EXPECT_DOUBLE_EQ(el.W(0, 1), 1.5);
    EXPECT_DOUBLE_EQ(el.M(1, 0), (1 * 3 + 0.5 * 2) / 1.5);
    EXPECT_EQ(el.M(0, 2), 0);
    EXPECT_EQ(el.W(0, 2), 0);
    EXPECT_DOUBLE_EQ(el.M(2, 3), 1);
    EXPECT_DOUBLE_EQ(el.M(3, 3), 2);

    const auto withoutB = buildEarlyLateMatrix(status, {1.0, 0.5}, 1);
    EXPECT_DOUBLE_EQ(withoutB.M(0, 1), 1);
    EXPECT_DOUBLE_EQ(withoutB.W(0, 1), 1);
    EXPECT_EQ(withoutB.W(3, 3), 0);

    const auto zeroA = buildEarlyLateMatrix(status, {0.0, 1.0}, -1);
    EXPECT_EQ(zeroA.M(2, 3), 0);  // only A relates R3 and R4: missing at weight 0
}

TEST(FillMissingCells, RowOrMatrixAverageOfKnownCells) {
    SquareMatrix M(2), W(2);
    M(0, 0) = 1; W(0, 0) = 1;
    M(0, 1) = 0; W(0, 1) = 0;
    M(1, 0) = 3; W(1, 0) = 1;
    M(1, 1) = 2; W(1, 1) = 1;
    SquareMatrix byRow = M;
    fillMissingCells(byRow, W, FillMode::RowAverage);
    EXPECT_DOUBLE_EQ(byRow(0, 1), 1);
    SquareMatrix byMatrix = M;
    fillMissingCells(byMatrix, W, FillMode::MatrixAverage);
    EXPECT_DOUBLE_EQ(byMatrix(0, 1), 2);
    EXPECT_DOUBLE_EQ(byMatrix(1, 0), 3);
}

}  // namespace
}  // namespace el::engine
