#include "engine/trials/trial_random.hpp"

#include <algorithm>

namespace el::engine {
namespace {

constexpr std::size_t kShift = 397;
constexpr std::uint32_t kUpper = 0x80000000u;
constexpr std::uint32_t kLower = 0x7fffffffu;
constexpr std::uint32_t kTwist = 0x9908b0dfu;

std::uint32_t twisted(std::uint32_t from, std::uint32_t next, std::uint32_t far) {
    const std::uint32_t y = (from & kUpper) | (next & kLower);
    return far ^ (y >> 1) ^ ((y & 1u) != 0 ? kTwist : 0u);
}

}  // namespace

TrialRandom::TrialRandom() {
    state_[0] = 5489u;
    for (std::size_t i = 1; i < kStateSize; ++i)
        state_[i] = 1812433253u * (state_[i - 1] ^ (state_[i - 1] >> 30)) + static_cast<std::uint32_t>(i);
}

// The next 624 words of the state. The first loop reads only words it has not renewed yet,
// the second only words renewed at least 227 places before, so both run in vector steps.
void TrialRandom::renew() {
    std::uint32_t* x = state_.data();
    constexpr std::size_t n = kStateSize;
    for (std::size_t k = 0; k < n - kShift; ++k) x[k] = twisted(x[k], x[k + 1], x[k + kShift]);
    for (std::size_t k = n - kShift; k < n - 1; ++k) x[k] = twisted(x[k], x[k + 1], x[k + kShift - n]);
    x[n - 1] = twisted(x[n - 1], x[0], x[kShift - 1]);
    index_ = 0;
}

void TrialRandom::fill(float* out, std::size_t count) {
    while (count > 0) {
        if (index_ == kStateSize) renew();
        const std::size_t take = std::min(count, kStateSize - index_);
        const std::uint32_t* from = state_.data() + index_;
        for (std::size_t k = 0; k < take; ++k) out[k] = unit(temper(from[k]));
        out += take;
        count -= take;
        index_ += take;
    }
}

}  // namespace el::engine
