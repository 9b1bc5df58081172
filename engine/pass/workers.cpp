#include "engine/pass/workers.hpp"

#include <algorithm>
#include <exception>
#include <thread>
#include <vector>

namespace el::engine {

void SharedCaption::set(const std::string& text) {
    const std::lock_guard lock(mutex_);
    text_ = text;
    fresh_ = true;
}

bool SharedCaption::take(std::string& text) {
    const std::lock_guard lock(mutex_);
    if (!fresh_) return false;
    text = text_;
    fresh_ = false;
    return true;
}

int workersWithin(int threads, std::size_t bytesEach) {
    const std::size_t fit = bytesEach == 0 ? kWorkerMemory : kWorkerMemory / bytesEach;
    return static_cast<int>(std::max<std::size_t>(1, std::min(static_cast<std::size_t>(std::max(threads, 1)), fit)));
}

void onThreads(int threads, const std::function<void(int)>& work) {
    const int count = std::max(threads, 1);
    std::vector<std::exception_ptr> errors(static_cast<std::size_t>(count));
    const auto guarded = [&](int t) {
        try {
            work(t);
        } catch (...) {
            errors[static_cast<std::size_t>(t)] = std::current_exception();
        }
    };
    {
        std::vector<std::jthread> others;
        others.reserve(static_cast<std::size_t>(count - 1));
        for (int t = 1; t < count; ++t) others.emplace_back(guarded, t);
        guarded(0);
    }  // joined here
    for (const auto& error : errors)
        if (error) std::rethrow_exception(error);
}

void forRanges(int threads, std::size_t count, const std::function<void(std::size_t, std::size_t)>& work) {
    const auto pieces = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(std::max(threads, 1)),
                                                               std::max<std::size_t>(count, 1)));
    onThreads(pieces, [&](int t) {
        const std::size_t begin = count * static_cast<std::size_t>(t) / static_cast<std::size_t>(pieces);
        const std::size_t end = count * static_cast<std::size_t>(t + 1) / static_cast<std::size_t>(pieces);
        if (begin < end) work(begin, end);
    });
}

}  // namespace el::engine
