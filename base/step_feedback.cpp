#include "base/step_feedback.hpp"

#include <algorithm>

namespace el {

StepFeedback::StepFeedback(Feedback& outer, ProgressStage stage, std::vector<long long> weights)
    : outer_(outer), stage_(stage), weights_(std::move(weights)) {
    for (long long& weight : weights_) {
        weight = std::max(weight, 1LL);
        offsets_.push_back(total_);
        total_ += weight;
    }
}

void StepFeedback::beginStep(std::size_t index) {
    step_ = std::min(index, weights_.empty() ? 0 : weights_.size() - 1);
    if (!weights_.empty()) outer_.progress(stage_, offsets_[step_], total_);
}

void StepFeedback::finish() {
    step_ = weights_.size();
    outer_.progress(stage_, total_, total_);
}

void StepFeedback::progress(ProgressStage stage, long long done, long long total) {
    if (stage != stage_ || step_ >= weights_.size()) {
        outer_.progress(stage, done, total);
        return;
    }
    const long long weight = weights_[step_];
    // A step that does not know its size yet counts as not begun; one that overruns it as done.
    const long long clamped = total > 0 ? std::clamp(done, 0LL, total) : 0;
    const long long scaled = total > 0
                                 ? static_cast<long long>(static_cast<double>(clamped) * static_cast<double>(weight) /
                                                          static_cast<double>(total))
                                 : 0;
    outer_.progress(stage_, offsets_[step_] + scaled, total_);
}

}  // namespace el
