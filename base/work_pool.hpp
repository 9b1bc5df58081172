#pragma once
// Work shared between threads so that no number depends on how many there are or on how
// they are scheduled: each task writes only outputs of its own, tasks are numbered and
// handed out in a fixed order, and whatever is combined across tasks is combined by the
// caller in task order. The first error, by task number, is what the caller sees.

#include <cstddef>
#include <functional>
#include <memory>

namespace el {

// What the workers' own buffers may take together: a machine with many cores still keeps a
// run on a large data set within memory (the numbers never depend on the worker count).
inline constexpr std::size_t kWorkerMemory = std::size_t{1} << 30;

// At most `threads` workers, and no more than keep bytesEach apiece within kWorkerMemory;
// at least one.
int workersWithin(int threads, std::size_t bytesEach);

// A fixed set of threads: the calling thread and size() - 1 workers made with the pool and
// joined when it goes. Not for use by two callers at once.
class WorkPool {
public:
    explicit WorkPool(int threads);
    ~WorkPool();
    WorkPool(const WorkPool&) = delete;
    WorkPool& operator=(const WorkPool&) = delete;

    int size() const { return size_; }
    // Calls task(t) for t = 0 .. count - 1 (at most size(); all when count < 0), t = 0 on the
    // calling thread and every other on a worker of its own, and returns when all have
    // ended. The exception of the lowest t that threw, if any, is rethrown then.
    void onEach(const std::function<void(int)>& task, int count = -1);

    // Ends a pool without waiting for its workers, which end on their own: for the pool of a
    // thread that is itself ending on Windows, whose runtime runs every thread's exit
    // destructors under one lock, so that a destructor waiting for another thread's end
    // would wait for ever.
    static void letGo(std::unique_ptr<WorkPool> pool);

private:
    struct Shared;
    int size_;
    std::shared_ptr<Shared> shared_;  // shared with the workers, which may outlive the pool
};

// onEach with `threads` tasks on the calling thread's own pool, made at its first use and
// grown when a call needs more threads, so that the threads of a run are made once. A call
// made from inside a task of that pool gets a pool of its own for the call.
void onThreads(int threads, const std::function<void(int)>& work);

// Cuts [0, count) into at most `threads` contiguous ranges of nearly equal size and calls
// work(begin, end) for each, the ranges on threads of their own (see onThreads).
void forRanges(int threads, std::size_t count, const std::function<void(std::size_t, std::size_t)>& work);

}  // namespace el
