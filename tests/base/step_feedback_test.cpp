// Composite work shown as one count: the steps' own counts scaled into their shares, the
// other stages, captions and stop requests passed through.

#include "base/step_feedback.hpp"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace el {
namespace {

using Count = std::tuple<ProgressStage, long long, long long>;

struct Watcher : Feedback {
    std::vector<Count> counts;
    std::vector<std::string> captions;
    int checkpoints = 0;
    int stopAt = -1;  // the checkpoint that throws Cancelled
    void checkpoint() override {
        if (checkpoints++ == stopAt) throw Cancelled{};
    }
    void caption(Label, const std::string& text) override { captions.push_back(text); }
    void progress(ProgressStage stage, long long done, long long total) override {
        counts.emplace_back(stage, done, total);
    }
};

TEST(StepFeedback, EachStepsCountFillsItsShareOfTheWhole) {
    Watcher watcher;
    StepFeedback steps(watcher, ProgressStage::Hindcasts, {2, 6});
    EXPECT_EQ(steps.total(), 8);
    steps.beginStep(0);
    steps.progress(ProgressStage::Hindcasts, 1, 2);
    steps.progress(ProgressStage::Hindcasts, 2, 2);
    steps.beginStep(1);
    steps.progress(ProgressStage::Hindcasts, 0, 3);  // the step knows 3 units of its own
    steps.progress(ProgressStage::Hindcasts, 1, 3);
    steps.progress(ProgressStage::Hindcasts, 9, 3);  // an overrun counts as the step done
    steps.progress(ProgressStage::Hindcasts, 5, 0);  // no size: not begun
    steps.finish();
    const std::vector<Count> expected{
        {ProgressStage::Hindcasts, 0, 8}, {ProgressStage::Hindcasts, 1, 8}, {ProgressStage::Hindcasts, 2, 8},
        {ProgressStage::Hindcasts, 2, 8}, {ProgressStage::Hindcasts, 2, 8}, {ProgressStage::Hindcasts, 4, 8},
        {ProgressStage::Hindcasts, 8, 8}, {ProgressStage::Hindcasts, 2, 8}, {ProgressStage::Hindcasts, 8, 8}};
    EXPECT_EQ(watcher.counts, expected);
}

TEST(StepFeedback, OneStepOfItsOwnSizeKeepsTheCountsAsTheyAre) {
    Watcher watcher;
    StepFeedback steps(watcher, ProgressStage::Hindcasts, {5});
    steps.beginStep(0);
    for (long long done = 0; done <= 5; ++done) steps.progress(ProgressStage::Hindcasts, done, 5);
    ASSERT_EQ(watcher.counts.size(), 7u);
    for (long long done = 0; done <= 5; ++done)
        EXPECT_EQ(watcher.counts[static_cast<std::size_t>(done) + 1], Count(ProgressStage::Hindcasts, done, 5));
}

TEST(StepFeedback, OtherStagesCaptionsAndStopsPassThrough) {
    Watcher watcher;
    watcher.stopAt = 1;
    StepFeedback steps(watcher, ProgressStage::Hindcasts, {0, 0});  // weights below 1 count as 1
    EXPECT_EQ(steps.total(), 2);
    steps.beginStep(1);
    steps.progress(ProgressStage::Trials, 40, 100);
    steps.caption(Label::Status, "Trial 40");
    EXPECT_EQ(watcher.counts.back(), Count(ProgressStage::Trials, 40, 100));
    EXPECT_EQ(watcher.captions, std::vector<std::string>{"Trial 40"});
    steps.checkpoint();
    EXPECT_THROW(steps.checkpoint(), Cancelled);
    EXPECT_EQ(watcher.checkpoints, 2);
}

}  // namespace
}  // namespace el
