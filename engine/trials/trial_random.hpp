#pragma once
// The tool's one pseudo-random generator: a 32-bit Mersenne Twister (MT19937) with the
// default seed 5489, never reseeded; the same numbers as std::mt19937. Only the fluctuation
// trials draw from it. Its state is renewed 624 numbers at a time, so a whole trial's draws
// can be made in one sweep.

#include <array>
#include <cstddef>
#include <cstdint>

namespace el::engine {

class TrialRandom {
public:
    TrialRandom();

    // A uniform single-precision number in [0, 1): the top 24 bits of one output.
    float next() {
        if (index_ == kStateSize) renew();
        return unit(temper(state_[index_++]));
    }
    // out[k] := next() for k = 0 .. count - 1.
    void fill(float* out, std::size_t count);

private:
    static constexpr std::size_t kStateSize = 624;

    static std::uint32_t temper(std::uint32_t y) {
        y ^= y >> 11;
        y ^= (y << 7) & 0x9d2c5680u;
        y ^= (y << 15) & 0xefc60000u;
        return y ^ (y >> 18);
    }
    static float unit(std::uint32_t y) { return static_cast<float>(y >> 8) * (1.0f / 16777216.0f); }
    void renew();

    std::array<std::uint32_t, kStateSize> state_{};
    std::size_t index_ = kStateSize;
};

}  // namespace el::engine
