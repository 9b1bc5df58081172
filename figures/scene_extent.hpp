#pragma once
// How far down a scene's items reach, to drop the empty band under a figure (a wide map
// leaves one) when it is printed in a document.

#include "figures/scene.hpp"

namespace el::figures {

// The canvas made no taller than the lowest item plus `margin`.
void trimHeight(Scene& scene, double margin = 16);

}  // namespace el::figures
