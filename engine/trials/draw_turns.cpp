#include "engine/trials/draw_turns.hpp"

namespace el::engine {

void DrawTurns::await(long long pass) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return next_ >= pass || stop_.raised(); });
    if (next_ < pass) throw WorkStopped{};
}

void DrawTurns::done(long long pass) {
    {
        const std::lock_guard lock(mutex_);
        if (pass < next_) return;
        ahead_.insert(pass);
        while (!ahead_.empty() && *ahead_.begin() == next_) {
            ahead_.erase(ahead_.begin());
            ++next_;
        }
    }
    changed_.notify_all();
}

void DrawTurns::wake() {
    { const std::lock_guard lock(mutex_); }
    changed_.notify_all();
}

}  // namespace el::engine
