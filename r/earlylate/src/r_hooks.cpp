#include "r_hooks.hpp"

#include <Rcpp.h>

namespace el::rpkg {
namespace {

void checkInterrupt(void*) { R_CheckUserInterrupt(); }

}  // namespace

void RFeedback::checkpoint() {
    stop_.check<Cancelled>();
    if (std::this_thread::get_id() != owner_ || !throttle_.due()) return;
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
