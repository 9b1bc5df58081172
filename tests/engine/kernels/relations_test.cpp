// Relation codes, a small example worked out by hand, and missing-cell filling; the fast
// paths are also checked against plain loops on random data in fast_paths_test.cpp.

#include "engine/kernels/relations.hpp"

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
    const std::vector<std::tuple<Status, Status, int>> table = {
        {date(2000), date(2001), 1}, {date(2001), date(2001), 2}, {date(2002), date(2001), 3},
        {kArrived, date(2000), 0},   {kNotYet, date(2000), 3},    {kArrived, kNotYet, 1},
        {kNotYet, kArrived, 3},      {kNotYet, kNotYet, 0},       {kArrived, kArrived, 0}};
    for (std::size_t k = 0; k < table.size(); ++k)
        EXPECT_EQ(relationCode(std::get<0>(table[k]), std::get<1>(table[k])), std::get<2>(table[k])) << "row " << k;
    for (const Status& s : {date(1), kArrived, kNotYet, kUnknown}) {
        EXPECT_EQ(relationCode(kUnknown, s), 0);
        EXPECT_EQ(relationCode(s, kUnknown), 0);
    }
}

// Four regions, two species, worked out by hand:
//   A: 2000, 2002, Arrived, NotYetArrived
//   B: 2001, 2001, Unknown, 2003
TEST(FourRegions, CountsComparisonRegionViableAndWeightedMatrix) {
    const auto data = test::makeData({"A", "B"}, {"R1", "R2", "R3", "R4"},
                                     {{"2000", "2001"}, {"2002", "2001"}, {"Arrived", "Unknown"},
                                      {"NotYetArrived", "2003"}});
    test::RecordingHost host;
    const StatusMatrix status = buildStatusMatrix(data, buildSpeciesTable(data, {"A", "B"}, ""), "null", host, host);

    const auto c = countRelations(status);
    EXPECT_EQ(c.hayai(0, 1), 1);  // A: 2000 < 2002
    EXPECT_EQ(c.onaji(0, 1), 1);  // B: same date
    EXPECT_EQ(c.osoi(1, 0), 1);
    EXPECT_EQ(c.hayai(0, 3), 2);  // both species reach R1 before R4
    EXPECT_EQ(c.hayai(2, 3), 1);  // Arrived before NotYetArrived
    EXPECT_EQ(c.hayai(0, 2) + c.onaji(0, 2) + c.osoi(0, 2), 0);
    EXPECT_EQ(c.onaji(0, 0), 2);
    EXPECT_EQ(c.onaji(2, 2), 0);

    const auto cmp = compareSpecies(status);
    EXPECT_EQ(cmp.viablepairs(0, 0), 4);
    EXPECT_EQ(cmp.viablepairs(1, 1), 3);
    EXPECT_EQ(cmp.viablepairs(0, 1), 3);
    EXPECT_EQ(cmp.samepairs(1, 0), 2);

    EXPECT_EQ(regionViable(status, -1), (std::vector<int>{6, 6, 1, 6}));
    EXPECT_EQ(regionViable(status, 1), (std::vector<int>{3, 3, 1, 3}));  // the target is left out

    const auto el = buildEarlyLateMatrix(status, {1.0, 0.5}, -1);
    EXPECT_DOUBLE_EQ(el.M(0, 1), (1 * 1 + 0.5 * 2) / 1.5);
    EXPECT_DOUBLE_EQ(el.W(0, 1), 1.5);
    EXPECT_DOUBLE_EQ(el.M(1, 0), (1 * 3 + 0.5 * 2) / 1.5);
    EXPECT_EQ(el.W(0, 2), 0);
    EXPECT_DOUBLE_EQ(el.M(3, 3), 2);
    EXPECT_EQ(buildEarlyLateMatrix(status, {0.0, 1.0}, -1).M(2, 3), 0);  // only A relates R3, R4: weight 0
}

TEST(FillMissingCells, RowOrMatrixAverageOfKnownCells) {
    SquareMatrix M(2), W(2);
    M.cells() = {1, 0, 3, 2};
    W.cells() = {1, 0, 1, 1};
    SquareMatrix byRow = M, byMatrix = M;
    fillMissingCells(byRow, W, FillMode::RowAverage);
    fillMissingCells(byMatrix, W, FillMode::MatrixAverage);
    EXPECT_EQ(byRow.cells(), (std::vector<double>{1, 1, 3, 2}));
    EXPECT_EQ(byMatrix.cells(), (std::vector<double>{1, 2, 3, 2}));
}

}  // namespace
}  // namespace el::engine
