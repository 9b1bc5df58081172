#include "figures/colour.hpp"

#include <algorithm>
#include <array>
#include <cmath>

namespace el::figures {
namespace {

// Viridis sampled at 17 even steps; linear interpolation between them stays within a
// fraction of a unit of the full table.
constexpr std::array<std::array<int, 3>, 17> kViridis{{
    {68, 1, 84},    {72, 24, 106},  {71, 45, 123},  {65, 64, 134},  {59, 82, 139},   {51, 99, 141},
    {44, 114, 142}, {38, 130, 142}, {33, 145, 140}, {31, 160, 136}, {40, 174, 128},  {63, 188, 115},
    {94, 201, 98},  {132, 212, 75}, {173, 220, 48}, {216, 226, 25}, {253, 231, 37},
}};

}  // namespace

Rgb viridis(double t) {
    if (!std::isfinite(t)) t = 0;
    t = std::clamp(t, 0.0, 1.0);
    const double at = t * (kViridis.size() - 1);
    const auto low = static_cast<std::size_t>(std::floor(at));
    const std::size_t high = std::min(low + 1, kViridis.size() - 1);
    const double f = at - static_cast<double>(low);
    auto mix = [&](std::size_t c) {
        return static_cast<std::uint8_t>(std::lround(kViridis[low][c] + f * (kViridis[high][c] - kViridis[low][c])));
    };
    return {mix(0), mix(1), mix(2)};
}

Rgb paler(Rgb c) {
    auto mix = [](std::uint8_t v) { return static_cast<std::uint8_t>(std::lround(v + (255 - v) * 0.6)); };
    return {mix(c.r), mix(c.g), mix(c.b)};
}

}  // namespace el::figures
