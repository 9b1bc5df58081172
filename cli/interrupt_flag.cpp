#include "cli/interrupt_flag.hpp"

#include <signal.h>

namespace el::batch {
namespace {

std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

extern "C" void onInterrupt(int) { interrupted.store(true, std::memory_order_relaxed); }

}  // namespace

const std::atomic<bool>& installInterruptHandler() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // SA_RESTART: a Ctrl-C while the log is written does not cut a write short.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    return interrupted;
}

}  // namespace el::batch
