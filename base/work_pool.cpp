#include "base/work_pool.hpp"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include <unistd.h>

#ifdef _WIN32
#include <pthread.h>
#endif

namespace el {

namespace {
void endCallersPool();
}  // namespace

struct WorkPool::Shared {
    std::mutex mutex;  // guards everything below
    std::condition_variable changed;
    const std::function<void(int)>* task = nullptr;
    long long round = 0;  // how many calls of onEach have handed out their tasks
    int count = 0;        // tasks of the current round
    int pending = 0;      // workers still at the current round's task
    bool closing = false;
    std::vector<std::exception_ptr> errors;  // by task number
    std::vector<std::jthread> workers;

    void run(int t) {
        try {
            (*task)(t);
        } catch (...) {
            errors[static_cast<std::size_t>(t)] = std::current_exception();
        }
    }
    // Waits for the next round; false when the pool is closing. A worker with no task in a
    // round waits on for the next.
    bool awaitTask(int t, long long& seen) {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return closing || round != seen; });
            if (closing) return false;
            seen = round;
            if (t < count) return true;
        }
    }
    void serve(int t) {
        long long seen = 0;
        while (awaitTask(t, seen)) {
            run(t);
            {
                const std::lock_guard lock(mutex);
                --pending;
            }
            changed.notify_all();
        }
        // A pool that a task made on this thread ends now, while the thread still runs,
        // rather than in the thread's exit destructors, where joining its workers never
        // returns on Windows.
        endCallersPool();
    }
    void close() {
        {
            const std::lock_guard lock(mutex);
            closing = true;
        }
        changed.notify_all();
    }
};

int workersWithin(int threads, std::size_t bytesEach) {
    const std::size_t fit = bytesEach == 0 ? kWorkerMemory : kWorkerMemory / bytesEach;
    return static_cast<int>(std::max<std::size_t>(1, std::min(static_cast<std::size_t>(std::max(threads, 1)), fit)));
}

WorkPool::WorkPool(int threads) : size_(std::max(threads, 1)), shared_(std::make_shared<Shared>()) {
    shared_->errors.resize(static_cast<std::size_t>(size_));
    shared_->workers.reserve(static_cast<std::size_t>(size_ - 1));
    for (int t = 1; t < size_; ++t) shared_->workers.emplace_back([shared = shared_, t] { shared->serve(t); });
}

WorkPool::~WorkPool() {
    shared_->close();
    shared_->workers.clear();  // joined here, unless let go
}

void WorkPool::letGo(std::unique_ptr<WorkPool> pool) {
    if (!pool) return;
    pool->shared_->close();
    for (auto& worker : pool->shared_->workers) worker.detach();
}

void WorkPool::onEach(const std::function<void(int)>& task, int count) {
    Shared& s = *shared_;
    {
        const std::lock_guard lock(s.mutex);
        std::fill(s.errors.begin(), s.errors.end(), nullptr);
        s.task = &task;
        s.count = count < 0 ? size_ : std::clamp(count, 1, size_);
        s.pending = s.count - 1;
        ++s.round;
    }
    s.changed.notify_all();
    s.run(0);
    {
        std::unique_lock lock(s.mutex);
        s.changed.wait(lock, [&] { return s.pending == 0; });
        s.task = nullptr;
    }
    for (const auto& error : s.errors)
        if (error) std::rethrow_exception(error);
}

namespace {

// The calling thread's pool, the process that made it, and whether a call on it is under way.
struct ThreadPool {
    std::unique_ptr<WorkPool> pool;
    pid_t owner = 0;
    bool busy = false;

    ThreadPool() = default;
    ThreadPool(const ThreadPool&) = delete;
    ThreadPool& operator=(const ThreadPool&) = delete;
    ~ThreadPool() = default;

    // A pool of at least `threads`, made anew when the one there is smaller. A child made by
    // fork() (R's parallel package forks) has none of its parent's workers: it leaves the
    // copied pool alone, since joining threads it does not have would never return.
    WorkPool& atLeast(int threads) {
        if (pool && owner != getpid()) (void)pool.release();
        if (!pool || pool->size() < threads) {
            pool.reset();  // its threads are joined before the larger set is made
            pool = std::make_unique<WorkPool>(threads);
            owner = getpid();
        }
        return *pool;
    }
    void end() {
        if (pool && owner != getpid()) (void)pool.release();
        pool.reset();
    }
};

#ifdef _WIN32
// Two things of Windows' thread ends keep a thread's pool out of its thread-locals there: the
// compiler's runtime frees a thread's thread-locals before it runs their destructors, and it
// runs every thread's exit destructors under one lock, so that one waiting for a worker's end
// waits for ever. A thread's pool is on the heap instead, ended by a destructor of the thread
// library's own that lets its workers go; a pool's worker ends the pool its tasks made before
// it returns. Windows ends a process's other threads before the main thread's exit
// destructors run, so once the process is ending (main has returned or exit() was called) a
// pool is left to the system.
std::atomic<bool> processEnding{false};

void letGoAtThreadEnd(void* own) {
    auto* ended = static_cast<ThreadPool*>(own);
    if (processEnding) {
        (void)ended->pool.release();
    } else {
        WorkPool::letGo(std::move(ended->pool));
    }
    delete ended;
}

pthread_key_t threadEndKey() {
    static const pthread_key_t key = [] {
        std::atexit([] { processEnding = true; });
        pthread_key_t made{};
        if (pthread_key_create(&made, letGoAtThreadEnd) != 0) std::abort();
        return made;
    }();
    return key;
}

ThreadPool& callersPool() {
    thread_local ThreadPool* own = nullptr;  // nothing to destroy: see above
    if (!own) {
        own = new ThreadPool;
        pthread_setspecific(threadEndKey(), own);
    }
    return *own;
}
#else
ThreadPool& callersPool() {
    thread_local ThreadPool own;
    return own;
}
#endif

void endCallersPool() { callersPool().end(); }

}  // namespace

void onThreads(int threads, const std::function<void(int)>& work) {
    if (threads <= 1) {
        work(0);
        return;
    }
    ThreadPool& own = callersPool();
    if (own.busy) {
        WorkPool(threads).onEach(work);
        return;
    }
    WorkPool& pool = own.atLeast(threads);
    own.busy = true;
    try {
        pool.onEach(work, threads);
    } catch (...) {
        own.busy = false;
        throw;
    }
    own.busy = false;
}

void forRanges(int threads, std::size_t count, const std::function<void(std::size_t, std::size_t)>& work) {
    const auto pieces = static_cast<int>(
        std::min<std::size_t>(static_cast<std::size_t>(std::max(threads, 1)), std::max<std::size_t>(count, 1)));
    onThreads(pieces, [&](int t) {
        const std::size_t begin = count * static_cast<std::size_t>(t) / static_cast<std::size_t>(pieces);
        const std::size_t end = count * static_cast<std::size_t>(t + 1) / static_cast<std::size_t>(pieces);
        if (begin < end) work(begin, end);
    });
}

}  // namespace el
