#pragma once
// The tool's one pseudo-random generator: a 32-bit Mersenne Twister with the default
// seed, never reseeded. Only the fluctuation trials draw from it.

#include <cstdint>
#include <random>

namespace el::engine {

class TrialRandom {
public:
    // A uniform single-precision number in [0, 1): the top 24 bits of one output.
    float next() { return static_cast<float>(engine_() >> 8) * (1.0f / 16777216.0f); }

private:
    std::mt19937 engine_{5489u};
};

}  // namespace el::engine
