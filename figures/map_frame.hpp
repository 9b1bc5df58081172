#pragma once
// Which part of the plane the map shows, and where each part of a region is drawn.
//
// The frame is the box of the regions' main parts: each region's largest ring (the longest
// line of a line region, every node of a point region), plus every other part whose box lies
// within that box grown by a quarter of its width and height on each side. A small part far
// away, such as an overseas territory of a country, does not widen the frame; what lies
// outside the frame is clipped when the map is drawn.
//
// In longitude/latitude data a ring or line that crosses the antimeridian is unwrapped (360
// added to its negative longitudes), and every part is moved by a whole turn of longitude
// when that brings it nearer the middle of the frame, so a region that straddles 180 degrees
// is drawn in one piece beside its neighbours instead of as a band across the map.

#include <vector>

#include "figures/map_projection.hpp"
#include "vector/vector_data.hpp"

namespace el::figures {

// The frame of the regions' main parts; empty when no region has a node.
MapBounds mainPartsFrame(const vec::VectorData& data, bool lonLat);

// The parts of `object` as the map draws them in a frame whose middle longitude is
// `middleX`: holes included, in file order. Without `lonLat`, the parts as they are.
std::vector<vec::VectorPart> placedParts(const vec::VectorObject& object, bool lonLat, double middleX);

// The longitude `x` moved by a whole turn when that brings it nearer `middleX`.
double placedLongitude(double x, double middleX);

}  // namespace el::figures
