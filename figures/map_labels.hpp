#pragma once
// Region names written on the map at their regions' centroids, where they fit: a name is
// left out when it would overlap a name already placed or reach beyond the map's frame.
// Larger regions are placed first, so the names that are left out are those of the small.
// Names are black in a white band, readable on any fill.

#include <string>
#include <vector>

#include "figures/clip_rect.hpp"
#include "figures/scene.hpp"

namespace el::figures {

struct LabelCandidate {
    Point at;          // the centroid on the canvas
    std::string text;  // the region's name
    double area = 0;   // the region's area, which decides who goes first
};

// Adds the names that fit to `layer`; returns how many it placed.
int placeRegionLabels(Layer& layer, std::vector<LabelCandidate> candidates, const PixelRect& frame,
                      double size = 10.5);

}  // namespace el::figures
