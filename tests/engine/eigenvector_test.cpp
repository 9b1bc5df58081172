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

TEST(PowerIteration, FindsThePrincipalEigenvectorOfASmallMatrix) {
    test::RecordingHost host;
    PowerIteration power;
    std::vector<double> v;
    power.eigenvector(matrixOf(2, {2, 1, 3, 2}), v, host);
    ASSERT_EQ(v.size(), 2u);
    EXPECT_NEAR(v[0], 0.5, 1e-7);
    EXPECT_NEAR(v[1], std::sqrt(3.0) / 2, 1e-7);
    EXPECT_DOUBLE_EQ(v[0] * v[0] + v[1] * v[1], 1.0);
    EXPECT_EQ(host.yields, 1);
}

TEST(PowerIteration, ReusesItsScratchAcrossSizes) {
    test::RecordingHost host;
    PowerIteration power;
    std::vector<double> v;
    // Rank one: u u^T has eigenvector u / |u| after a single multiplication.
    power.eigenvector(matrixOf(3, {1, 2, 2, 2, 4, 4, 2, 4, 4}), v, host);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_NEAR(v[0], 1.0 / 3, 1e-12);
    EXPECT_NEAR(v[1], 2.0 / 3, 1e-12);
    EXPECT_NEAR(v[2], 2.0 / 3, 1e-12);

    power.eigenvector(matrixOf(2, {2, 1, 3, 2}), v, host);
    ASSERT_EQ(v.size(), 2u);
    EXPECT_NEAR(v[1], std::sqrt(3.0) / 2, 1e-7);
    EXPECT_EQ(host.yields, 2);
}

TEST(PowerIteration, StopsAfterTheIterationLimitWithTheLastIterate) {
    test::RecordingHost host;
    PowerIteration power;
    std::vector<double> v;
    // A swap never converges: (1,0) and (0,1) alternate, and after an even number of
    // iterations the start vector is back.
    power.eigenvector(matrixOf(2, {0, 1, 1, 0}), v, host);
    EXPECT_EQ(v, (std::vector<double>{1, 0}));
}

TEST(PowerIteration, ZeroMatrixAndEmptyMatrixGiveNoNaN) {
    test::RecordingHost host;
    PowerIteration power;
    std::vector<double> v{7, 7, 7};
    power.eigenvector(SquareMatrix(3, 0.0), v, host);
    EXPECT_EQ(v, (std::vector<double>{1, 0, 0}));
    power.eigenvector(SquareMatrix(0), v, host);
    EXPECT_TRUE(v.empty());
}

}  // namespace
}  // namespace el::engine
