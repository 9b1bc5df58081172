#pragma once
// Colours of the figures: the viridis scale (perceptually uniform, readable with the
// common colour-vision deficiencies) and a few fixed colours.

#include "figures/scene.hpp"

namespace el::figures {

// t in [0, 1], clamped; 0 dark purple, 1 yellow.
Rgb viridis(double t);

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kGrey{120, 120, 120};
inline constexpr Rgb kNoValue{217, 217, 217};
inline constexpr Rgb kTrainingMark{0, 114, 178};    // blue
inline constexpr Rgb kValidationMark{213, 94, 0};   // vermillion

}  // namespace el::figures
