#pragma once
// Work shared between threads so that no number depends on how many there are or on how
// they are scheduled: each piece of work writes only outputs of its own, and whatever is
// combined across pieces is combined by the caller in a fixed order.

#include <atomic>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>

#include "base/feedback.hpp"

namespace el::engine {

// Thrown inside work on a worker thread when the run is to stop; never leaves the engine.
struct WorkStopped {};

// Raised once by whoever decides that the work is to end (a Cancel, a pass that stops the
// run); every worker looks at it at its yield points.
class StopFlag {
public:
    void raise() { raised_.store(true, std::memory_order_relaxed); }
    bool raised() const { return raised_.load(std::memory_order_relaxed); }

private:
    std::atomic<bool> raised_{false};
};

// The run progress caption that work on worker threads showed last, for the thread that
// talks to the caller to show when it has nothing newer.
class SharedCaption {
public:
    void set(const std::string& text);
    // The caption set since the last take, if any.
    bool take(std::string& text);

private:
    std::mutex mutex_;
    std::string text_;
    bool fresh_ = false;
};

// What work on a worker thread talks to: its yield points look at the stop flag, its run
// progress captions go to the shared caption (or nowhere), and its progress is dropped.
class WorkerFeedback : public Feedback {
public:
    explicit WorkerFeedback(const StopFlag& stop, SharedCaption* caption = nullptr) : stop_(stop), caption_(caption) {}
    void checkpoint() override {
        if (stop_.raised()) throw WorkStopped{};
    }
    void caption(Label label, const std::string& text) override {
        if (caption_ != nullptr && label == Label::RunProgress) caption_->set(text);
    }

private:
    const StopFlag& stop_;
    SharedCaption* caption_;
};

// What the workers' own buffers may take together: a machine with many cores still keeps a
// run on a large data set within memory (the numbers never depend on the worker count).
inline constexpr std::size_t kWorkerMemory = std::size_t{1} << 30;

// At most `threads` workers, and no more than keep bytesEach apiece within kWorkerMemory;
// at least one.
int workersWithin(int threads, std::size_t bytesEach);

// Calls work(t) for t = 0 .. threads - 1, t = 0 on the calling thread and every other on a
// thread of its own, and returns when all have ended. The exception of the lowest t that
// threw, if any, is rethrown then.
void onThreads(int threads, const std::function<void(int)>& work);

// Cuts [0, count) into at most `threads` contiguous ranges of nearly equal size and calls
// work(begin, end) for each, the ranges on threads of their own (see onThreads).
void forRanges(int threads, std::size_t count, const std::function<void(std::size_t, std::size_t)>& work);

}  // namespace el::engine
