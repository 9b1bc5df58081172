#pragma once
// Stopping work that runs on several threads. Whoever decides that the work is to end (a
// Cancel, a worker that failed, a pass that stops the run) raises a stop token once; every
// worker looks at it at its yield points and leaves by throwing WorkStopped, which never
// leaves the component that started the workers: at the top it becomes el::Cancelled or
// the error that caused the stop.

#include <atomic>
#include <mutex>
#include <string>

#include "base/feedback.hpp"

namespace el {

// Thrown inside work on a worker thread when the work is to stop.
struct WorkStopped {};

class StopToken {
public:
    void raise() { raised_.store(true, std::memory_order_relaxed); }
    bool raised() const { return raised_.load(std::memory_order_relaxed); }
    // Throws `Stop` (WorkStopped on a worker, Cancelled at the top) once raised.
    template <class Stop = WorkStopped>
    void check() const {
        if (raised()) throw Stop{};
    }

private:
    std::atomic<bool> raised_{false};
};

// The progress caption that work on worker threads showed last, for the thread that talks to
// the caller to show when it has nothing newer.
class SharedCaption {
public:
    void set(const std::string& text) {
        const std::lock_guard lock(mutex_);
        text_ = text;
        fresh_ = true;
    }
    // The caption set since the last take, if any.
    bool take(std::string& text) {
        const std::lock_guard lock(mutex_);
        if (!fresh_) return false;
        text = text_;
        fresh_ = false;
        return true;
    }

private:
    std::mutex mutex_;
    std::string text_;
    bool fresh_ = false;
};

// What work on a worker thread talks to: its yield points look at the stop token, its run
// progress captions go to the shared caption (or nowhere), and its progress is dropped.
class WorkerFeedback : public Feedback {
public:
    explicit WorkerFeedback(const StopToken& stop, SharedCaption* caption = nullptr) : stop_(stop), caption_(caption) {}
    void checkpoint() override { stop_.check(); }
    void caption(Label label, const std::string& text) override {
        if (caption_ != nullptr && label == Label::RunProgress) caption_->set(text);
    }

private:
    const StopToken& stop_;
    SharedCaption* caption_;
};

}  // namespace el
