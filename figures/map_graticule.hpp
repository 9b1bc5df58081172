#pragma once
// The meridians and parallels of a projected longitude/latitude map, at a round step of
// degrees for the part of the globe the frame shows, cut to the frame; the degrees written
// where they meet the frame's bottom (meridians) and left (parallels) edges; and, in a
// projection that tears the globe apart, the globe's edge.

#include <vector>

#include "figures/clip_rect.hpp"
#include "figures/map_projection.hpp"
#include "figures/map_transform.hpp"
#include "figures/scene.hpp"

namespace el::figures {

struct Graticule {
    std::vector<Shape> lines;  // drawn under the regions
    Layer marks;               // ticks and degree labels, drawn over them
};

// The graticule of the frame `frame` (in the transform's coordinates) as `canvas` draws it
// into `clip`; `middle` is the map's middle, for the far-side rule of map_transform.hpp.
Graticule graticuleOf(const MapTransform& transform, const MapBounds& frame, const MapProjection& canvas,
                      const PixelRect& clip, LonLat middle);

// The round step of degrees (0.1 to 30) that draws at most `most` lines over `span` degrees.
double graticuleStep(double span, int most);

}  // namespace el::figures
