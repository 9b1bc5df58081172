#include "engine/trials/draw_turns.hpp"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace el::engine {
namespace {

// Records, under a lock, the order in which waiting passes got their turn.
class TurnLog {
public:
    void add(long long pass) {
        const std::lock_guard lock(mutex_);
        order_.push_back(pass);
    }
    std::vector<long long> order() {
        const std::lock_guard lock(mutex_);
        return order_;
    }

private:
    std::mutex mutex_;
    std::vector<long long> order_;
};

// A pass's turn comes once every earlier pass is done, in whatever order they finished.
TEST(DrawTurns, PassesDoneOutOfOrderReleaseTheWaitersInPassOrder) {
    StopToken stop;
    DrawTurns turns(stop);
    TurnLog log;
    turns.await(0);  // the first pass never waits
    std::jthread third([&] {
        turns.await(3);
        log.add(3);
        turns.done(3);
    });
    std::jthread second([&] {
        turns.await(2);
        log.add(2);
        turns.done(2);
    });
    turns.done(1);  // ahead of pass 0: nobody may go yet
    turns.done(1);  // said twice
    turns.done(0);
    second.join();
    third.join();
    EXPECT_EQ(log.order(), (std::vector<long long>{2, 3}));
    turns.await(4);  // 0 to 3 are done
    turns.done(2);   // a pass long past changes nothing
    turns.await(4);
}

// With the stop token raised a pass gets its turn only when every earlier pass is done, and
// is stopped otherwise: passes done ahead of an earlier one give no turn until it is done.
TEST(DrawTurns, PassesDoneAheadGiveNoTurnUntilTheEarlierOneIsDone) {
    StopToken stop;
    DrawTurns turns(stop);
    turns.done(2);
    turns.done(1);
    stop.raise();
    turns.wake();
    EXPECT_NO_THROW(turns.await(0));
    EXPECT_THROW(turns.await(1), WorkStopped);
    EXPECT_THROW(turns.await(3), WorkStopped);
    turns.done(0);
    EXPECT_NO_THROW(turns.await(3));
    EXPECT_THROW(turns.await(4), WorkStopped);
}

// A stop raised while passes wait for a turn that never comes ends every wait with
// WorkStopped; nothing hangs.
TEST(DrawTurns, AStopRaisedWhileWaitingEndsTheWaitWithWorkStopped) {
    StopToken stop;
    DrawTurns turns(stop);
    std::mutex mutex;
    std::condition_variable changed;
    int started = 0;
    int stopped = 0;
    std::vector<std::jthread> waiters;
    for (long long pass : {1, 5}) {
        waiters.emplace_back([&, pass] {
            {
                const std::lock_guard lock(mutex);
                ++started;
            }
            changed.notify_all();
            try {
                turns.await(pass);
            } catch (const WorkStopped&) {
                const std::lock_guard lock(mutex);
                ++stopped;
            }
        });
    }
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return started == 2; });
    }
    // Whether a waiter is already asleep or just about to look: either way it sees the flag.
    stop.raise();
    turns.wake();
    for (auto& waiter : waiters) waiter.join();
    EXPECT_EQ(stopped, 2);
}

}  // namespace
}  // namespace el::engine
