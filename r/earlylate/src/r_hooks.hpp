#pragma once
// What a Read or a run in R talks to: stops on Ctrl-C, messages kept for the R error or
// warnings they become. Only the thread that called from R ever calls into R.

#include <string>
#include <thread>
#include <vector>

#include "base/cancel.hpp"
#include "base/feedback.hpp"
#include "base/messenger.hpp"
#include "base/yield_throttle.hpp"

namespace el::rpkg {

// At its checkpoints on the calling thread, asks R whether the user pressed Ctrl-C (inside
// R_ToplevelExec, so no R error jumps across C++ frames) and throws el::Cancelled when so.
// Checkpoints on other threads only see the stop once it has been asked for.
// interruptAtCheckpoint() arms it to press Ctrl-C itself, for the tests.
class RFeedback : public Feedback {
public:
    RFeedback() : owner_(std::this_thread::get_id()) {}
    void checkpoint() override;

private:
    std::thread::id owner_;
    YieldThrottle throttle_{std::chrono::milliseconds(50)};
    StopToken stop_;
};

// Arms the next runs to raise SIGINT, as Ctrl-C does, at their `count`-th checkpoint on the
// calling thread (counted over the runs, from now), and to ask R at once; 0 disarms. One
// interrupt per arming.
void interruptAtCheckpoint(int count);

// The messages joined into one text, a line each, or `fallback` when there was none.
std::string joined(const std::vector<std::string>& messages, const std::string& fallback);

// Raised after a Cancelled stop has unwound every C++ frame: an R interrupt.
[[noreturn]] void raiseInterrupt();

}  // namespace el::rpkg
