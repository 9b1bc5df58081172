// The fluctuation trials on several threads. The calling thread draws every trial's n * n
// numbers from the one generator, trial after trial, into a free buffer; the workers turn a
// buffer into a trial matrix and take its eigenvector, each on a matrix of its own. The
// eigenvector of trial t lands in row t of the components whoever computed it, so the
// statistics are those of the trials made one after the other.

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>

#include "base/cancel.hpp"
#include "base/numtext.hpp"
#include "base/work_pool.hpp"
#include "engine/trials/trial_tables.hpp"

namespace el::engine {
namespace {

// One trial's draws on their way from the drawing thread to a worker.
struct DrawBuffer {
    std::vector<float> draws;
    int trial = 0;
};

class TrialPipeline {
public:
    TrialPipeline(const TrialTables& tables, int trials, int threads)
        : tables_(tables), trials_(trials), threads_(threads),
          cells_(static_cast<std::size_t>(tables.regions) * static_cast<std::size_t>(tables.regions)),
          components_(static_cast<std::size_t>(tables.regions) * static_cast<std::size_t>(trials)),
          buffers_(static_cast<std::size_t>(std::min(threads + 1, 4))), done_(static_cast<std::size_t>(trials), 0) {
        for (DrawBuffer& buffer : buffers_) free_.push_back(&buffer);
    }

    TrialStats run(TrialRandom& random, Feedback& feedback);

private:
    void drawAll(TrialRandom& random, Feedback& feedback);
    void work();
    void workOn(DrawBuffer& buffer, SquareMatrix& matrix, PowerIteration& power, std::vector<double>& vector,
                Feedback& feedback);
    DrawBuffer& freeBuffer(Feedback& feedback);
    void waitForAll(Feedback& feedback);
    void showDone(std::unique_lock<std::mutex>& lock, Feedback& feedback);
    void finish(bool stop);

    const TrialTables& tables_;
    const int trials_;
    const int threads_;
    const std::size_t cells_;
    std::vector<double> components_;  // [t][i]
    std::vector<DrawBuffer> buffers_;

    std::mutex mutex_;  // guards everything below
    std::condition_variable changed_;
    std::vector<DrawBuffer*> free_;
    std::deque<DrawBuffer*> drawn_;  // in trial order
    std::vector<char> done_;
    int shownDone_ = 0;  // trials counted as done to the caller, from the first on
    bool allDrawn_ = false;
    std::exception_ptr error_;
    StopToken stop_;
};

// The calling thread draws (task 0) while the workers turn draws into trials.
TrialStats TrialPipeline::run(TrialRandom& random, Feedback& feedback) {
    onThreads(threads_ + 1, [&](int t) {
        if (t > 0) return work();
        try {
            drawAll(random, feedback);
            finish(false);
            waitForAll(feedback);
        } catch (const WorkStopped&) {
            finish(true);  // a worker failed: its error follows once all have ended
        } catch (...) {
            finish(true);
            throw;  // once the workers have ended
        }
    });
    if (error_) std::rethrow_exception(error_);
    return trialStats(components_, tables_.regions, trials_);
}

void TrialPipeline::drawAll(TrialRandom& random, Feedback& feedback) {
    for (int t = 1; t <= trials_; ++t) {
        feedback.caption(Label::RunProgress, "reliability trial" + strnum(t));
        feedback.checkpoint();
        DrawBuffer& buffer = freeBuffer(feedback);
        buffer.draws.resize(cells_);
        random.fill(buffer.draws.data(), cells_);
        buffer.trial = t;
        {
            const std::lock_guard lock(mutex_);
            drawn_.push_back(&buffer);
        }
        changed_.notify_all();
    }
}

// Waits for a buffer the workers are done with, counting the trials they finish meanwhile.
DrawBuffer& TrialPipeline::freeBuffer(Feedback& feedback) {
    std::unique_lock lock(mutex_);
    for (;;) {
        showDone(lock, feedback);
        if (stop_.raised()) throw WorkStopped{};  // a worker failed: its error is rethrown
        if (!free_.empty()) break;
        changed_.wait(lock);
    }
    DrawBuffer* buffer = free_.back();
    free_.pop_back();
    return *buffer;
}

void TrialPipeline::waitForAll(Feedback& feedback) {
    std::unique_lock lock(mutex_);
    for (showDone(lock, feedback); shownDone_ < trials_ && !stop_.raised(); showDone(lock, feedback))
        changed_.wait(lock);
}

// Tells the caller of every trial done since it last heard, in trial order.
void TrialPipeline::showDone(std::unique_lock<std::mutex>& lock, Feedback& feedback) {
    while (shownDone_ < trials_ && done_[static_cast<std::size_t>(shownDone_)]) {
        ++shownDone_;
        lock.unlock();
        feedback.progress(ProgressStage::Trials, shownDone_, trials_);
        lock.lock();
    }
}

void TrialPipeline::finish(bool stop) {
    {
        const std::lock_guard lock(mutex_);
        allDrawn_ = true;
        if (stop) stop_.raise();
    }
    changed_.notify_all();
}

void TrialPipeline::work() {
    SquareMatrix matrix(tables_.regions);
    PowerIteration power;
    std::vector<double> vector;
    WorkerFeedback feedback(stop_);
    try {
        for (;;) {
            DrawBuffer* buffer = nullptr;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return !drawn_.empty() || allDrawn_ || stop_.raised(); });
                if (stop_.raised() || drawn_.empty()) return;
                buffer = drawn_.front();
                drawn_.pop_front();
            }
            workOn(*buffer, matrix, power, vector, feedback);
        }
    } catch (const WorkStopped&) {
    } catch (...) {
        {
            const std::lock_guard lock(mutex_);
            if (!error_) error_ = std::current_exception();
            stop_.raise();
        }
        changed_.notify_all();
    }
}

void TrialPipeline::workOn(DrawBuffer& buffer, SquareMatrix& matrix, PowerIteration& power,
                           std::vector<double>& vector, Feedback& feedback) {
    const int trial = buffer.trial;
    for (std::size_t b = 0; b < tables_.blocks(); ++b) {
        const std::size_t begin = b * tables_.blockPairs;
        tables_.pickBlock(b, buffer.draws.data() + begin, matrix.cells().data() + begin);
    }
    {
        const std::lock_guard lock(mutex_);
        free_.push_back(&buffer);
    }
    changed_.notify_all();
    power.eigenvector(matrix, vector, feedback, true);  // entries from 1.1 to 2.94
    const auto row = static_cast<std::size_t>(trial - 1) * static_cast<std::size_t>(tables_.regions);
    std::copy(vector.begin(), vector.end(), components_.begin() + static_cast<std::ptrdiff_t>(row));
    {
        const std::lock_guard lock(mutex_);
        done_[static_cast<std::size_t>(trial - 1)] = 1;
    }
    changed_.notify_all();
}

}  // namespace

TrialStats reliabilityOnThreads(const TrialTables& tables, int trials, TrialRandom& random, int threads,
                                Feedback& feedback) {
    const auto cells = static_cast<std::size_t>(tables.regions) * static_cast<std::size_t>(tables.regions);
    return TrialPipeline(tables, trials, workersWithin(threads, cells * sizeof(double))).run(random, feedback);
}

}  // namespace el::engine
