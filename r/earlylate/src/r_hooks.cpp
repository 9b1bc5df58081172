#include "r_hooks.hpp"

#include <Rcpp.h>

namespace el::rpkg {
namespace {

void checkInterrupt(void*) { R_CheckUserInterrupt(); }

}  // namespace

void RFeedback::checkpoint() {
    if (stop_.load()) throw Cancelled{};
    if (std::this_thread::get_id() != owner_ || !throttle_.due()) return;
    // FALSE when R would have jumped: an interrupt (or an R error such as a time limit).
    if (!R_ToplevelExec(checkInterrupt, nullptr)) {
        stop_.store(true);
        throw Cancelled{};
    }
}

void KeptMessages::message(const std::string& text) {
    const std::lock_guard<std::mutex> lock(mutex_);
    texts_.push_back(text);
}

std::vector<std::string> KeptMessages::take() {
    const std::lock_guard<std::mutex> lock(mutex_);
    return std::move(texts_);
}

std::string KeptMessages::joined(const std::string& fallback) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (texts_.empty()) return fallback;
    std::string text;
    for (const std::string& message : texts_) text += (text.empty() ? "" : "\n") + message;
    return text;
}

void raiseInterrupt() { throw Rcpp::internal::InterruptedException(); }

}  // namespace el::rpkg
