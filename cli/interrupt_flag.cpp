#include "cli/interrupt_flag.hpp"

#include <signal.h>

#include <atomic>

namespace el::batch {
namespace {

// Raising the token is one store to a lock-free atomic, which a signal handler may make.
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");
StopToken interrupted;

extern "C" void onInterrupt(int) { interrupted.raise(); }

}  // namespace

const StopToken& installInterruptHandler() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // SA_RESTART: a Ctrl-C while the log is written does not cut a write short.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    return interrupted;
}

}  // namespace el::batch
