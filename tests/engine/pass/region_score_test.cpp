// Region exclusion, connectivity, the eigenvector and the order of regions; the fast
// paths are also checked against plain readings in fast_paths_test.cpp.

#include "engine/pass/region_score.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/kernels/eigenvector.hpp"

#include "engine/model/run_error.hpp"
#include "tests/support/error_text.hpp"
#include "tests/support/recording_host.hpp"

namespace el::engine {
namespace {

// Cell (i, j) holds 10 * (i + 1) + (j + 1), so a compacted matrix shows what it kept.
SquareMatrix labelled(int n) {
    SquareMatrix m(n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) m(i, j) = 10 * (i + 1) + (j + 1);
    return m;
}

// Changes the excluding limit during the second yield, as a user typing would.
class EditingHost : public test::RecordingHost {
public:
    void checkpoint() override {
        if (++yields == 2) values.set(Setting::ExcludingLimit, " 100 ");
    }
};

TEST(ExcludeRegions, RemovesRegionsAtOrBelowTheLimitFromBothMatrices) {
    test::RecordingHost host;
    host.values.set(Setting::ExcludingLimit, "5");
    SquareMatrix M = labelled(4), W = labelled(4);
    W(1, 3) = -7;
    UsedRegions used = allRegions({"A", "B", "C", "D"});
    excludeRegions(M, W, used, {5, 6, 4, 7}, host, host);
    EXPECT_EQ(used.regno, (std::vector<int>{1, 3}));
    EXPECT_EQ(used.name, (std::vector<std::string>{"B", "D"}));
    EXPECT_EQ(M.cells(), (std::vector<double>{22, 24, 42, 44}));
    EXPECT_EQ(W.cells(), (std::vector<double>{22, -7, 42, 44}));
    EXPECT_EQ(host.yields, 4);
}

TEST(ExcludeRegions, ReadsTheLimitForEveryRegionAndRefusesText) {
    EditingHost editing;
    editing.values.set(Setting::ExcludingLimit, "0.5");
    SquareMatrix M = labelled(3), W = labelled(3);
    UsedRegions used = allRegions({"A", "B", "C"});
    excludeRegions(M, W, used, {1, 1, 1}, editing, editing);
    EXPECT_EQ(used.name, (std::vector<std::string>{"A"}));
    EXPECT_EQ(M.cells(), (std::vector<double>{11}));

    test::RecordingHost host;
    host.values.set(Setting::ExcludingLimit, "five");
    EXPECT_EQ(test::errorText<RunError>([&] { excludeRegions(M, W, used, {0, 0, 0}, host, host); }),
              "The excluding limit text \"five\" is not a number");
    EXPECT_EQ(used.size(), 1);
}

TEST(Connectivity, RegionsThatNeverFillTheSetFail) {
    SquareMatrix pair(3, 0.0);  // 1 and 2 only related to each other: {2}, {1}, {2}, ...
    pair(0, 1) = pair(1, 0) = pair(2, 2) = 1;
    SquareMatrix split(3, 1.0);  // {1, 2} and {3}; negative weights do not connect
    split(0, 2) = split(2, 0) = split(1, 2) = split(2, 1) = -1;
    for (const SquareMatrix& W : {pair, split}) {
        test::RecordingHost host;
        const auto result = testConnectivity(W, host);
        EXPECT_EQ(result.connectsteps, (std::vector<int>{1001}));
        EXPECT_EQ(result.failedStart, 0);
        EXPECT_EQ(host.yields, 1000);
    }
    test::RecordingHost host;
    EXPECT_EQ(testConnectivity(SquareMatrix(3, 0.5), host).connectsteps, (std::vector<int>{1, 1, 1}));
}

TEST(PowerIteration, TwoByTwoExample) {
    SquareMatrix m(2);
    m.cells() = {2, 1, 3, 2};
    test::RecordingHost host;
    PowerIteration power;
    std::vector<double> v;
    power.eigenvector(m, v, host);
    EXPECT_NEAR(v[0], 0.5, 1e-7);
    EXPECT_NEAR(v[1], std::sqrt(3.0) / 2, 1e-7);
    EXPECT_EQ(regionOrder(v), (std::vector<int>{1, 0}));  // the second region is listed first
}

TEST(RegionOrder, LargestFirstAndTiesByPosition) {
    EXPECT_EQ(regionOrder({0.5, 0.9, 0.5, 0.9, 0.7}), (std::vector<int>{1, 3, 4, 0, 2}));
}

}  // namespace
}  // namespace el::engine
