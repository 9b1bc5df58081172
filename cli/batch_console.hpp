#pragma once
// The batch runner's console: messages go to standard error at once; on a terminal it
// shows the progress counts; a Ctrl-C stops the work at the next checkpoint. Captions are
// not shown.

#include <optional>
#include <ostream>
#include <string>

#include "base/cancel.hpp"
#include "base/feedback.hpp"
#include "base/messenger.hpp"
#include "cli/progress_line.hpp"

namespace el::batch {

class BatchConsole : public Messenger, public Feedback {
public:
    BatchConsole(std::ostream& errors, bool showProgress = false, const StopToken* interrupted = nullptr)
        : errors_(errors), interrupted_(interrupted) {
        if (showProgress) progress_.emplace(errors);
    }

    void message(const std::string& text) override {
        endProgress();
        errors_ << "earlylate: " << text << "\n" << std::flush;
    }
    void checkpoint() override {
        if (interrupted_ != nullptr) interrupted_->check<Cancelled>();
    }
    void progress(ProgressStage stage, long long done, long long total) override {
        if (progress_) progress_->update(stage, done, total);
    }

    // Wipes the progress line so that what follows on standard error starts clean.
    void endProgress() {
        if (progress_) progress_->clear();
    }

private:
    std::ostream& errors_;
    const StopToken* interrupted_;
    std::optional<ProgressLine> progress_;
};

}  // namespace el::batch
