#pragma once
// The batch runner's host: messages go to standard error at once, log lines are kept for
// the end of the run, captions are not shown, settings come from the command line. On a
// terminal it shows the progress counts; a Ctrl-C stops the run at the next yield.

#include <atomic>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "base/host.hpp"
#include "cli/progress_line.hpp"

namespace el::batch {

class BatchHost : public Host {
public:
    BatchHost(SettingValues values, std::ostream& errors, bool showProgress = false,
              const std::atomic<bool>* interrupted = nullptr)
        : values_(std::move(values)), errors_(errors), interrupted_(interrupted) {
        if (showProgress) progress_.emplace(errors);
    }

    void message(const std::string& text) override {
        endProgress();
        errors_ << "earlylate: " << text << "\n" << std::flush;
    }
    void yield() override {
        if (interrupted_ != nullptr && interrupted_->load(std::memory_order_relaxed)) throw Cancelled{};
    }
    void setCaption(Label, const std::string&) override {}
    void appendLog(const std::string& line) override { log_.push_back(line); }
    void clearLog() override { log_.clear(); }
    std::string setting(Setting id) const override { return values_.get(id); }
    void setSetting(Setting id, const std::string& value) override { values_.set(id, value); }
    void setRunBusy(bool) override {}
    void progress(ProgressStage stage, long long done, long long total) override {
        if (progress_) progress_->update(stage, done, total);
    }

    // Wipes the progress line so that what follows on standard error starts clean.
    void endProgress() {
        if (progress_) progress_->clear();
    }

    const std::vector<std::string>& log() const { return log_; }

private:
    SettingValues values_;
    std::ostream& errors_;
    const std::atomic<bool>* interrupted_;
    std::optional<ProgressLine> progress_;
    std::vector<std::string> log_;
};

}  // namespace el::batch
