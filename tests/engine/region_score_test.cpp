#include "engine/region_score.hpp"

#include <gtest/gtest.h>

#include "engine/run_error.hpp"
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
    void yield() override {
        if (++yields == 2) values.set(Setting::ExcludingLimit, " 100 ");
    }
};

TEST(ExcludeRegions, RemovesRegionsAtOrBelowTheLimitFromBothMatrices) {
    test::RecordingHost host;
    host.values.set(Setting::ExcludingLimit, "5");
    SquareMatrix M = labelled(4), W = labelled(4);
    W(1, 3) = -7;
    UsedRegions used = allRegions({"A", "B", "C", "D"});
    excludeRegions(M, W, used, {5, 6, 4, 7}, host);
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
    excludeRegions(M, W, used, {1, 1, 1}, editing);
    EXPECT_EQ(used.name, (std::vector<std::string>{"A"}));
    EXPECT_EQ(M.cells(), (std::vector<double>{11}));

    test::RecordingHost host;
    host.values.set(Setting::ExcludingLimit, "five");
    try {
        excludeRegions(M, W, used, {0, 0, 0}, host);
        FAIL() << "no error";
    } catch (const RunError& e) {
        EXPECT_STREQ(e.what(), "The excluding limit text \"five\" is not a number");
    }
    EXPECT_EQ(used.size(), 1);
}

TEST(Connectivity, CountsStepsUntilEveryRegionIsReached) {
    test::RecordingHost host;
    auto result = testConnectivity(SquareMatrix(3, 0.5), host);
    EXPECT_EQ(result.connectsteps, (std::vector<int>{1, 1, 1}));
    EXPECT_FALSE(result.failedStart);
    EXPECT_EQ(host.captionsOf(Label::RunProgress),
              (std::vector<std::string>{"Connectivity 1", "Connectivity 2", "Connectivity 3"}));

    SquareMatrix chain(3, 0.0);  // 1 - 2 - 3, each related to itself
    chain(0, 0) = chain(1, 1) = chain(2, 2) = chain(0, 1) = chain(1, 0) = chain(1, 2) = chain(2, 1) = 1;
    result = testConnectivity(chain, host);
    EXPECT_EQ(result.connectsteps, (std::vector<int>{2, 1, 2}));
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
        EXPECT_EQ(host.caption(Label::RunProgress), "Connectivity 1");
    }
}

TEST(RegionOrder, LargestFirstAndTiesByPosition) {
    EXPECT_EQ(regionOrder({0.5, 0.9, 0.5, 0.9, 0.7}), (std::vector<int>{1, 3, 4, 0, 2}));
}

}  // namespace
}  // namespace el::engine
