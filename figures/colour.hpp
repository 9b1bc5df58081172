#pragma once
// Colours of the figures: the viridis scale (perceptually uniform, readable with the
// common colour-vision deficiencies) and a few fixed colours.

#include "figures/scene.hpp"

namespace el::figures {

// t in [0, 1], clamped; 0 dark purple, 1 yellow.
Rgb viridis(double t);

// The colour mixed 60% of the way to white: the fill of a forecast value.
Rgb paler(Rgb colour);

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kGrey{120, 120, 120};
inline constexpr Rgb kNoValue{217, 217, 217};
inline constexpr Rgb kTrainingMark{0, 114, 178};    // blue
inline constexpr Rgb kValidationMark{213, 94, 0};   // vermillion
inline constexpr Rgb kOverdueMark{215, 25, 28};     // red, a colour the viridis scale has not
inline constexpr Rgb kReached{150, 150, 150};       // a region the target is in: no risk to show
inline constexpr Rgb kReachedHatch{60, 60, 60};

}  // namespace el::figures
