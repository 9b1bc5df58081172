#include "engine/eigenvector.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/recording_host.hpp"

namespace el::engine {
namespace {

SquareMatrix matrixOf(int n, std::initializer_list<double> cells) {
    SquareMatrix m(n);
    std::copy(cells.begin(), cells.end(), m.cells().begin());
    return m;
}

TEST(PowerIteration, PrincipalEigenvectorOfUnitLength) {
    test::RecordingHost host;
    PowerIteration power;
    std::vector<double> v;
    power.eigenvector(matrixOf(3, {1, 2, 2, 2, 4, 4, 2, 4, 4}), v, host);  // rank one: u u^T
    EXPECT_NEAR(v[2], 2.0 / 3, 1e-12);
    power.eigenvector(matrixOf(2, {2, 1, 3, 2}), v, host);  // the scratch shrinks with the size
    ASSERT_EQ(v.size(), 2u);
    EXPECT_NEAR(v[0], 0.5, 1e-7);
    EXPECT_NEAR(v[1], std::sqrt(3.0) / 2, 1e-7);
    EXPECT_DOUBLE_EQ(v[0] * v[0] + v[1] * v[1], 1.0);
    EXPECT_EQ(host.yields, 2);
}

TEST(PowerIteration, NoConvergenceOrNoProductStillGivesAVector) {
    test::RecordingHost host;
    PowerIteration power;
    std::vector<double> v;
    // A swap alternates (1,0) and (0,1); after the even iteration limit the start is back.
    power.eigenvector(matrixOf(2, {0, 1, 1, 0}), v, host);
    EXPECT_EQ(v, (std::vector<double>{1, 0}));
    power.eigenvector(SquareMatrix(3, 0.0), v, host);
    EXPECT_EQ(v, (std::vector<double>{1, 0, 0}));
}

}  // namespace
}  // namespace el::engine
