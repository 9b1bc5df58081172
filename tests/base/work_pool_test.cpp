#include "base/work_pool.hpp"

#include <atomic>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include "base/cancel.hpp"

namespace el {
namespace {

// Every task number runs once per call, task 0 on the calling thread and the others each on
// a thread of their own that the pool keeps from one call to the next.
TEST(WorkPool, RunsEachTaskOnceOnItsOwnThreadAndKeepsItsThreads) {
    WorkPool pool(4);
    ASSERT_EQ(pool.size(), 4);
    std::vector<std::thread::id> first(4), second(4);
    std::vector<int> runs(4, 0);
    pool.onEach([&](int t) {
        first[static_cast<std::size_t>(t)] = std::this_thread::get_id();
        ++runs[static_cast<std::size_t>(t)];
    });
    pool.onEach([&](int t) {
        second[static_cast<std::size_t>(t)] = std::this_thread::get_id();
        ++runs[static_cast<std::size_t>(t)];
    });
    EXPECT_EQ(runs, (std::vector<int>{2, 2, 2, 2}));
    EXPECT_EQ(first[0], std::this_thread::get_id());
    EXPECT_EQ(std::set<std::thread::id>(first.begin(), first.end()).size(), 4u);
    EXPECT_EQ(first, second);
    EXPECT_EQ(WorkPool(0).size(), 1);
}

// The error of the lowest task number is rethrown, and only once every task has ended.
TEST(WorkPool, RethrowsTheLowestTasksErrorAfterAllHaveEnded) {
    WorkPool pool(3);
    std::atomic<int> ended{0};
    try {
        pool.onEach([&](int t) {
            ++ended;
            if (t > 0) throw std::runtime_error("task " + std::to_string(t));
        });
        FAIL() << "nothing was thrown";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()), "task 1");
    }
    EXPECT_EQ(ended.load(), 3);
    // The pool goes on after a failed call, without the old errors.
    EXPECT_NO_THROW(pool.onEach([](int) {}));
    // Fewer tasks than threads: only those run.
    std::atomic<int> some{0};
    pool.onEach([&](int t) { some += t + 1; }, 2);
    EXPECT_EQ(some.load(), 1 + 2);
    EXPECT_THROW(onThreads(2,
                           [](int t) {
                               if (t == 0) throw WorkStopped{};
                           }),
                 WorkStopped);
}

// A thread's calls reuse its pool's threads; a call from inside a task, which that pool is
// busy with, gets threads of its own instead of waiting for itself.
TEST(WorkPool, CallsReuseTheThreadsOfTheCallersPoolAndMayNest) {
    std::vector<std::thread::id> first(3), second(3);
    onThreads(3, [&](int t) { first[static_cast<std::size_t>(t)] = std::this_thread::get_id(); });
    onThreads(2, [&](int t) { second[static_cast<std::size_t>(t)] = std::this_thread::get_id(); });
    EXPECT_EQ(first[1], second[1]);
    std::vector<std::atomic<int>> inner(3 * 2);
    onThreads(3, [&](int t) { onThreads(2, [&](int u) { ++inner[static_cast<std::size_t>(2 * t + u)]; }); });
    for (const auto& count : inner) EXPECT_EQ(count.load(), 1);
    // A call that failed leaves the pool ready for the next.
    EXPECT_THROW(onThreads(2,
                           [](int t) {
                               if (t == 1) throw std::runtime_error("x");
                           }),
                 std::runtime_error);
    std::atomic<int> ran{0};
    onThreads(3, [&](int) { ++ran; });
    EXPECT_EQ(ran.load(), 3);
}

// A child made by fork() has only the thread that forked: its calls get threads of their
// own instead of waiting for its parent's workers, which it does not have.
TEST(WorkPool, AForkedChildRunsItsCallsOnThreadsOfItsOwn) {
#if defined(_WIN32)
    GTEST_SKIP() << "Windows has no fork()";
#else
#if defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the race detector refuses threads made after a fork";
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
    GTEST_SKIP() << "the race detector refuses threads made after a fork";
#endif
#endif
    std::atomic<int> ran{0};
    onThreads(3, [&](int) { ++ran; });  // the parent's pool is made
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        alarm(30);  // a child that hangs ends by the signal, and the test fails
        std::atomic<int> childRan{0};
        onThreads(3, [&](int) { ++childRan; });
        onThreads(2, [&](int) { ++childRan; });
        _exit(childRan.load() == 5 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    onThreads(3, [&](int) { ++ran; });
    EXPECT_EQ(ran.load(), 6);
#endif
}

// Threads whose tasks made pools of their own end, and so does a thread that used its own
// pool: neither waits for a worker in its exit destructors, which never returns on Windows,
// whose runtime runs every thread's exit destructors under one lock. A pool let go ends
// without waiting, its workers on their own.
TEST(WorkPool, ThreadsThatMadePoolsOfTheirOwnEnd) {
    std::atomic<int> ran{0};
    {
        WorkPool outer(3);
        outer.onEach([&](int) { onThreads(2, [&](int) { ++ran; }); });
    }
    EXPECT_EQ(ran.load(), 3 * 2);
    // The caller's pool grows after its workers made pools: the smaller one ends first.
    onThreads(3, [&](int) { onThreads(2, [&](int) { ++ran; }); });
    onThreads(5, [&](int) { ++ran; });
    EXPECT_EQ(ran.load(), 3 * 2 * 2 + 5);
    std::thread user([&] {
        onThreads(3, [&](int) { onThreads(2, [&](int) { ++ran; }); });
        onThreads(4, [&](int) { ++ran; });
    });
    user.join();
    EXPECT_EQ(ran.load(), 3 * 2 * 3 + 5 + 4);
    auto pool = std::make_unique<WorkPool>(3);
    pool->onEach([&](int) { ++ran; });
    WorkPool::letGo(std::move(pool));
    EXPECT_EQ(ran.load(), 3 * 2 * 3 + 5 + 4 + 3);
}

TEST(WorkPool, RangesCoverEveryIndexOnceInContiguousPieces) {
    for (int threads : {1, 3, 8}) {
        for (std::size_t count : {0u, 1u, 5u, 100u}) {
            std::vector<std::atomic<int>> seen(count);
            std::atomic<int> pieces{0};
            forRanges(threads, count, [&](std::size_t begin, std::size_t end) {
                ++pieces;
                for (std::size_t i = begin; i < end; ++i) ++seen[i];
            });
            for (std::size_t i = 0; i < count; ++i) EXPECT_EQ(seen[i].load(), 1) << threads << " " << i;
            EXPECT_LE(pieces.load(), threads);
        }
    }
    EXPECT_EQ(workersWithin(8, kWorkerMemory / 3), 3);
    EXPECT_EQ(workersWithin(8, kWorkerMemory * 2), 1);
    EXPECT_EQ(workersWithin(0, 1), 1);
}

TEST(StopToken, WorkerFeedbackStopsOnceRaisedAndKeepsTheLatestCaption) {
    StopToken stop;
    SharedCaption caption;
    WorkerFeedback feedback(stop, &caption);
    feedback.caption(Label::Status, "not shown");
    std::string text;
    EXPECT_FALSE(caption.take(text));
    feedback.caption(Label::RunProgress, "Pass 1");
    feedback.caption(Label::RunProgress, "Pass 2");
    EXPECT_NO_THROW(feedback.checkpoint());
    ASSERT_TRUE(caption.take(text));
    EXPECT_EQ(text, "Pass 2");
    EXPECT_FALSE(caption.take(text));
    stop.raise();
    EXPECT_THROW(feedback.checkpoint(), WorkStopped);
    EXPECT_THROW(stop.check<Cancelled>(), Cancelled);
}

}  // namespace
}  // namespace el
