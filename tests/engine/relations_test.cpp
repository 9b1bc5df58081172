// Relation codes and missing-cell filling; the counts, species comparison and early-late
// matrix built from the codes are checked against plain loops in fast_paths_test.cpp.

#include "engine/relations.hpp"

#include <gtest/gtest.h>

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
