#pragma once
// Decides when a host should really process events: at most once per interval,
// and the clock is only consulted every few calls so a call costs next to nothing.

#include <chrono>
#include <cstdint>

namespace el {

class YieldThrottle {
public:
    explicit YieldThrottle(std::chrono::milliseconds interval = std::chrono::milliseconds(30))
        : interval_(interval), last_(std::chrono::steady_clock::now()) {}

    // True when the caller should process pending events now.
    bool due() {
        if ((++calls_ & 63u) != 0) return false;
        const auto now = std::chrono::steady_clock::now();
        if (now - last_ < interval_) return false;
        last_ = now;
        return true;
    }

private:
    std::chrono::steady_clock::duration interval_;
    std::chrono::steady_clock::time_point last_;
    std::uint32_t calls_ = 0;
};

}  // namespace el
