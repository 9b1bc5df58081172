// The time-left estimate from samples on a made-up clock: the pace of the current count,
// and where a count starts over (new stage, new total, a count that goes back) even when
// its first sample is past the first unit.

#include <gtest/gtest.h>

#include "base/time_left.hpp"

namespace el {
namespace {

using Seconds = TimeLeftEstimate::Seconds;

double secondsLeft(TimeLeftEstimate& estimate, ProgressStage stage, long long done, long long total, double now) {
    const auto left = estimate.update(stage, done, total, Seconds(now));
    return left ? left->count() : -1;  // -1: no estimate
}

TEST(TimeLeftEstimate, CarriesThePaceSinceTheCountStartedOnToTheTotal) {
    TimeLeftEstimate estimate;
    EXPECT_EQ(secondsLeft(estimate, ProgressStage::Trials, 0, 100, 10), -1) << "no unit done yet";
    EXPECT_DOUBLE_EQ(secondsLeft(estimate, ProgressStage::Trials, 30, 100, 16), 14.0);  // 30 in 6 s, 70 to go
    EXPECT_DOUBLE_EQ(secondsLeft(estimate, ProgressStage::Trials, 60, 100, 22), 8.0);
    EXPECT_EQ(secondsLeft(estimate, ProgressStage::Trials, 100, 100, 30), -1) << "nothing left";
    EXPECT_EQ(secondsLeft(estimate, ProgressStage::Trials, 5, 0, 31), -1) << "no total";
}

TEST(TimeLeftEstimate, ACountThatGoesBackStartsOverFromItsFirstSample) {
    TimeLeftEstimate estimate;
    secondsLeft(estimate, ProgressStage::Trials, 0, 100, 0);
    EXPECT_DOUBLE_EQ(secondsLeft(estimate, ProgressStage::Trials, 100 - 1, 100, 99), 1.0);
    // The next pass's trials: first seen at 5 (the earlier samples were not shown), 10 s later.
    EXPECT_EQ(secondsLeft(estimate, ProgressStage::Trials, 5, 100, 109), -1) << "its pace is not known yet";
    // Five more in 20 s: 4 s a unit from here, whatever the earlier pass's pace was.
    EXPECT_DOUBLE_EQ(secondsLeft(estimate, ProgressStage::Trials, 10, 100, 129), 90 * 4.0);
}

TEST(TimeLeftEstimate, ANewStageOrANewTotalStartsOver) {
    TimeLeftEstimate estimate;
    secondsLeft(estimate, ProgressStage::ReadObjects, 0, 600, 0);
    EXPECT_DOUBLE_EQ(secondsLeft(estimate, ProgressStage::ReadObjects, 300, 600, 3), 3.0);
    // The passes begin at count 300 of their own: a higher count, but another stage.
    EXPECT_EQ(secondsLeft(estimate, ProgressStage::Passes, 300, 40000, 100), -1);
    EXPECT_DOUBLE_EQ(secondsLeft(estimate, ProgressStage::Passes, 400, 40000, 110), 39600 * 0.1);
    // The same stage with another total (the hindcast of another species).
    secondsLeft(estimate, ProgressStage::Hindcasts, 1, 4, 200);
    EXPECT_EQ(secondsLeft(estimate, ProgressStage::Hindcasts, 2, 8, 210), -1);
    EXPECT_DOUBLE_EQ(secondsLeft(estimate, ProgressStage::Hindcasts, 4, 8, 230), 40.0);
}

}  // namespace
}  // namespace el
