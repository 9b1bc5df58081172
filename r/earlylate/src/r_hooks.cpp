#include "r_hooks.hpp"

#include <Rcpp.h>

#include <csignal>

namespace el::rpkg {
namespace {

void checkInterrupt(void*) { R_CheckUserInterrupt(); }

// Only the thread that called from R counts: it alone reads and writes this.
int checkpointsToInterrupt = 0;

// True, once SIGINT is raised, at the armed checkpoint.
bool injectedInterrupt() {
    if (checkpointsToInterrupt <= 0 || --checkpointsToInterrupt > 0) return false;
    std::raise(SIGINT);  // R's handler marks an interrupt pending, as for a Ctrl-C
    return true;
}

}  // namespace

void interruptAtCheckpoint(int count) { checkpointsToInterrupt = count > 0 ? count : 0; }

void RFeedback::checkpoint() {
    stop_.check<Cancelled>();
    if (std::this_thread::get_id() != owner_) return;
    if (!injectedInterrupt() && !throttle_.due()) return;
    // FALSE when R would have jumped: an interrupt (or an R error such as a time limit).
    if (!R_ToplevelExec(checkInterrupt, nullptr)) {
        stop_.raise();
        throw Cancelled{};
    }
}

std::string joined(const std::vector<std::string>& messages, const std::string& fallback) {
    if (messages.empty()) return fallback;
    std::string text;
    for (const std::string& message : messages) text += (text.empty() ? "" : "\n") + message;
    return text;
}

void raiseInterrupt() { throw Rcpp::internal::InterruptedException(); }

}  // namespace el::rpkg
