#pragma once
// Composite work (a hindcast of a target and then of many species, an import and then a
// run): several steps, each counting its own progress from 0, shown to the watcher as one
// count that only goes up. Step i takes `weights[i]` units of the overall count; the
// progress of the step's stage is scaled into them, every other stage and every caption
// and checkpoint passes through unchanged, so a stop request still stops the step at work.

#include <cstddef>
#include <vector>

#include "base/feedback.hpp"

namespace el {

class StepFeedback : public Feedback {
public:
    // `weights`: the units of each step, in the order the steps run (a weight below 1 counts as 1).
    StepFeedback(Feedback& outer, ProgressStage stage, std::vector<long long> weights);

    // The step that reports from now on (0-based); its earlier steps count as done.
    void beginStep(std::size_t index);
    // Every step done: the overall count stands at its total.
    void finish();

    long long total() const { return total_; }

    void checkpoint() override { outer_.checkpoint(); }
    void caption(Label label, const std::string& text) override { outer_.caption(label, text); }
    void progress(ProgressStage stage, long long done, long long total) override;

private:
    Feedback& outer_;
    ProgressStage stage_;
    std::vector<long long> weights_;
    std::vector<long long> offsets_;  // the units of the steps before each
    long long total_ = 0;
    std::size_t step_ = 0;
};

}  // namespace el
