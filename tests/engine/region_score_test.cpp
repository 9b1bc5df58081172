#include "engine/region_score.hpp"

#include <gtest/gtest.h>

#include "engine/run_error.hpp"
#include "tests/support/recording_host.hpp"

namespace el::engine {
namespace {

// Cell (i, j) holds 10 * (i + 1) + (j + 1), so a compacted matrix shows which rows and
// columns it kept.
SquareMatrix labelled(int n, double offset = 0) {
    SquareMatrix m(n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) m(i, j) = 10 * (i + 1) + (j + 1) + offset;
    return m;
}

// Changes the excluding limit after a given number of yields, as a user typing would.
class EditingHost : public test::RecordingHost {
public:
    int editAfter = 0;
    std::string newLimit;
    void yield() override {
        RecordingHost::yield();
        if (yields == editAfter) values.set(Setting::ExcludingLimit, newLimit);
    }
};

TEST(ExcludeRegions, RemovesRegionsAtOrBelowTheLimitAndCompactsBothMatrices) {
    test::RecordingHost host;
    host.values.set(Setting::ExcludingLimit, "5");
    SquareMatrix M = labelled(4), W = labelled(4, 100);
    UsedRegions used = allRegions({"A", "B", "C", "D"});
    excludeRegions(M, W, used, {5, 6, 4, 7}, host);

    EXPECT_EQ(used.regno, (std::vector<int>{1, 3}));
    EXPECT_EQ(used.name, (std::vector<std::string>{"B", "D"}));
    ASSERT_EQ(M.size(), 2);
    EXPECT_EQ(M.cells(), (std::vector<double>{22, 24, 42, 44}));
    EXPECT_EQ(W.cells(), (std::vector<double>{122, 124, 142, 144}));
    EXPECT_EQ(host.yields, 4);
}

TEST(ExcludeRegions, ReadsTheLimitAnewForEveryRegion) {
    EditingHost host;
    host.values.set(Setting::ExcludingLimit, "0.5");
    host.editAfter = 2;
    host.newLimit = " 100 ";
    SquareMatrix M = labelled(3), W = labelled(3);
    UsedRegions used = allRegions({"A", "B", "C"});
    excludeRegions(M, W, used, {1, 1, 1}, host);
    EXPECT_EQ(used.name, (std::vector<std::string>{"A"}));
    EXPECT_EQ(M.cells(), (std::vector<double>{11}));
}

TEST(ExcludeRegions, RefusesALimitThatIsNotANumberAndLeavesEverything) {
    test::RecordingHost host;
    host.values.set(Setting::ExcludingLimit, "five");
    SquareMatrix M = labelled(2), W = labelled(2);
    UsedRegions used = allRegions({"A", "B"});
    try {
        excludeRegions(M, W, used, {0, 0}, host);
        FAIL() << "no error";
    } catch (const RunError& e) {
        EXPECT_STREQ(e.what(), "The excluding limit text \"five\" is not a number");
    }
    EXPECT_EQ(M.size(), 2);
    EXPECT_EQ(used.size(), 2);
}

TEST(ExcludeRegions, CanLeaveNoRegion) {
    test::RecordingHost host;
    host.values.set(Setting::ExcludingLimit, "10");
    SquareMatrix M = labelled(2), W = labelled(2);
    UsedRegions used = allRegions({"A", "B"});
    excludeRegions(M, W, used, {3, 10}, host);
    EXPECT_EQ(used.size(), 0);
    EXPECT_EQ(M.size(), 0);
    EXPECT_EQ(W.size(), 0);
}

TEST(Connectivity, FullConnectionReachesEveryRegionInOneStep) {
    test::RecordingHost host;
    const auto result = testConnectivity(SquareMatrix(3, 0.5), host);
    EXPECT_EQ(result.connectsteps, (std::vector<int>{1, 1, 1}));
    EXPECT_FALSE(result.failedStart);
    EXPECT_EQ(host.captionsOf(Label::RunProgress),
              (std::vector<std::string>{"Connectivity 1", "Connectivity 2", "Connectivity 3"}));
    EXPECT_EQ(host.yields, 3);
}

TEST(Connectivity, CountsTheStepsAlongAChain) {
    // 1 - 2 - 3, every region related to itself.
    SquareMatrix W(3, 0.0);
    for (int i = 0; i < 3; ++i) W(i, i) = 1;
    W(0, 1) = W(1, 0) = W(1, 2) = W(2, 1) = 2;
    test::RecordingHost host;
    const auto result = testConnectivity(W, host);
    EXPECT_EQ(result.connectsteps, (std::vector<int>{2, 1, 2}));
    EXPECT_FALSE(result.failedStart);
}

TEST(Connectivity, TwoRegionsRelatedOnlyToEachOtherFail) {
    SquareMatrix W(3, 1.0);
    W(0, 0) = W(1, 1) = 0;  // regions 1 and 2 alternate, region 3 is never reached from 1
    W(0, 2) = W(2, 0) = W(1, 2) = W(2, 1) = 0;
    test::RecordingHost host;
    const auto result = testConnectivity(W, host);
    EXPECT_EQ(result.connectsteps, (std::vector<int>{1001}));
    ASSERT_TRUE(result.failedStart);
    EXPECT_EQ(*result.failedStart, 0);
    EXPECT_EQ(host.yields, 1000);
    EXPECT_EQ(host.captionsOf(Label::RunProgress).size(), 1000u);
    EXPECT_EQ(host.caption(Label::RunProgress), "Connectivity 1");
}

TEST(Connectivity, ASplitGroupFailsAndNegativeWeightsDoNotConnect) {
    SquareMatrix W(3, 1.0);
    W(0, 2) = W(2, 0) = W(1, 2) = W(2, 1) = -1;  // {1, 2} and {3} apart
    test::RecordingHost host;
    const auto result = testConnectivity(W, host);
    EXPECT_EQ(result.connectsteps, (std::vector<int>{1001}));
    EXPECT_TRUE(result.failedStart);
    EXPECT_EQ(host.yields, 1000);
}

TEST(RegionOrder, LargestFirstAndTiesByPosition) {
    EXPECT_EQ(regionOrder({0.5, 0.9, 0.5, 0.9, 0.7}), (std::vector<int>{1, 3, 4, 0, 2}));
    EXPECT_TRUE(regionOrder({}).empty());
}

}  // namespace
}  // namespace el::engine
