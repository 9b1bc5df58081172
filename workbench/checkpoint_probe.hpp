#pragma once
// A Feedback that hands everything on to another and, at each checkpoint, first tells a probe
// how many checkpoints it has passed. A test stops a step at a checkpoint of its choice
// through it, the way a user's Cancel would, without waiting on the clock.

#include <atomic>
#include <functional>
#include <string>
#include <utility>

#include "base/feedback.hpp"

namespace el::workbench {

// Called on the worker thread with the checkpoints passed so far, this one included.
using CheckpointProbe = std::function<void(long long)>;

class ProbedFeedback final : public Feedback {
public:
    ProbedFeedback(Feedback& inner, CheckpointProbe probe) : inner_(inner), probe_(std::move(probe)) {}

    void checkpoint() override {
        const long long seen = ++seen_;
        if (probe_) probe_(seen);
        inner_.checkpoint();
    }
    void caption(Label label, const std::string& text) override { inner_.caption(label, text); }
    void progress(ProgressStage stage, long long done, long long total) override {
        inner_.progress(stage, done, total);
    }

private:
    Feedback& inner_;
    CheckpointProbe probe_;
    std::atomic<long long> seen_{0};
};

}  // namespace el::workbench
