#pragma once
// Moving a laid-out group of items, for parts of a figure laid out before their place is
// known (a legend measured first, then put at the bottom).

#include "figures/scene.hpp"

namespace el::figures {

// Appends every item of `from` to `into`, moved by (dx, dy).
void appendMoved(Layer& into, Layer from, double dx, double dy);

}  // namespace el::figures
