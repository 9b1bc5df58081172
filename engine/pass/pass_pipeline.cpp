#include "engine/pass/pass_pipeline.hpp"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "base/cancel.hpp"
#include "base/work_pool.hpp"
#include "engine/trials/draw_turns.hpp"

namespace el::engine {
namespace {

constexpr auto kYieldInterval = std::chrono::milliseconds(100);

class PassPipeline {
public:
    PassPipeline(const PassWork& work, const std::vector<PowerPair>& powers, int threads)
        : work_(work), powers_(powers), threads_(threads), turns_(stop_),
          slots_(static_cast<std::size_t>(2 * threads + 2)) {}

    void run(Feedback& feedback, const std::function<void(long long, PassRecord&)>& take);

private:
    long long passes() const { return static_cast<long long>(powers_.size()); }
    // Pass k has its settings and a slot to leave its record in.
    bool mayTake(long long k) const {
        return k < work_.settings.handedOut() && k < taken_ + static_cast<long long>(slots_.size());
    }
    std::optional<PassRecord>& slot(long long k) { return slots_[static_cast<std::size_t>(k) % slots_.size()]; }
    void work();
    PassRecord compute(long long k, const SettingValues& settings, PassScratch& scratch);
    PassRecord awaitPass(long long k, Feedback& feedback);
    void stop();
    void handOutAfter(long long k);

    const PassWork& work_;
    const std::vector<PowerPair>& powers_;
    const int threads_;
    StopToken stop_;
    DrawTurns turns_;
    SharedCaption caption_;

    std::mutex mutex_;  // guards everything below
    std::condition_variable changed_;
    std::vector<std::optional<PassRecord>> slots_;  // pass k waits in slot k % size until taken
    long long next_ = 0;   // the next pass a worker takes
    long long taken_ = 0;  // passes the calling thread has taken back
    std::exception_ptr failure_;  // a worker failed outside any pass
};

// The calling thread takes the passes back (task 0) while the workers compute them.
void PassPipeline::run(Feedback& feedback, const std::function<void(long long, PassRecord&)>& take) {
    onThreads(threads_ + 1, [&](int t) {
        if (t > 0) return work();
        try {
            for (long long k = 0; k < passes(); ++k) {
                PassRecord record = awaitPass(k, feedback);
                take(k, record);
                handOutAfter(k);
            }
        } catch (...) {
            stop();
            throw;  // once the workers have ended
        }
    });
}

void PassPipeline::stop() {
    {
        const std::lock_guard lock(mutex_);
        stop_.raise();
    }
    turns_.wake();
    changed_.notify_all();
}

void PassPipeline::handOutAfter(long long k) {
    {
        const std::lock_guard lock(mutex_);
        work_.settings.taken(k);
    }
    changed_.notify_all();
}

// Pass k's record, once a worker has left it; yields now and then while it waits.
PassRecord PassPipeline::awaitPass(long long k, Feedback& feedback) {
    std::string shown;
    std::unique_lock lock(mutex_);
    for (;;) {
        if (failure_) std::rethrow_exception(failure_);
        if (slot(k)) break;
        if (changed_.wait_for(lock, kYieldInterval) == std::cv_status::no_timeout) continue;
        lock.unlock();
        // What a worker is at, when it has moved on; the pass captions come only with passes.
        if (caption_.take(shown)) feedback.caption(Label::RunProgress, shown);
        feedback.checkpoint();
        lock.lock();
    }
    PassRecord record = std::move(*slot(k));
    slot(k).reset();
    taken_ = k + 1;
    lock.unlock();
    changed_.notify_all();
    return record;
}

void PassPipeline::work() {
    PassScratch scratch;
    try {
        for (;;) {
            long long k = 0;
            SettingValues settings;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return stop_.raised() || next_ >= passes() || mayTake(next_); });
                if (stop_.raised() || next_ >= passes()) return;
                k = next_++;
                settings = work_.settings.of(k);
            }
            PassRecord record = compute(k, settings, scratch);
            {
                const std::lock_guard lock(mutex_);
                slot(k) = std::move(record);
            }
            changed_.notify_all();
        }
    } catch (const WorkStopped&) {
    } catch (...) {
        {
            const std::lock_guard lock(mutex_);
            if (!failure_) failure_ = std::current_exception();
        }
        changed_.notify_all();
    }
}

PassRecord PassPipeline::compute(long long k, const SettingValues& settings, PassScratch& scratch) {
    WorkerFeedback feedback(stop_, &caption_);
    PassReport report(work_.input, settings, false, nullptr);  // examine-weight passes only
    const PassContext context{settings, feedback, work_.random, scratch, report, 1, &work_.frames, &turns_, k};
    PassRecord record;
    try {
        const PowerPair& powers = powers_[static_cast<std::size_t>(k)];
        record.outcome = computePass(work_.input, powers.p1, powers.p2, context);
    } catch (const WorkStopped&) {
        turns_.done(k);
        throw;
    } catch (...) {
        record.error = std::current_exception();
    }
    turns_.done(k);  // a pass that ended before its trials draws nothing
    record.report = report.takeKept();
    scratch.matrix = std::exchange(record.outcome.matrix, SquareMatrix());
    return record;
}

}  // namespace

void runPassesOnThreads(const PassWork& work, const std::vector<PowerPair>& powers, int threads, Feedback& feedback,
                        const std::function<void(long long, PassRecord&)>& take) {
    PassPipeline(work, powers, threads).run(feedback, take);
}

}  // namespace el::engine
