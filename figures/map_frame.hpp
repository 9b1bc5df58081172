#pragma once
// Which part of the plane the map shows: where the regions are. The frame holds every
// region's centroid with half a typical region's size around it, and the whole main part
// (the largest ring, the longest line, every node of a point region) of each region of
// ordinary size. A region far larger than the others adds its whole main part only when that
// lies near the frame so found, else only its centroid (Russia among the countries of
// Europe). Any other part counts when it lies near that frame too (an island off the coast);
// one far away (an overseas territory) adds nothing. Near: within the frame grown by a
// quarter of its width and height on each side.
// What lies outside the frame is cut at its edge when the map is drawn.
//
// The coordinates are plane ones: a longitude/latitude map is framed after its projection.

#include <optional>

#include "figures/map_bounds.hpp"
#include "vector/vector_data.hpp"

namespace el::figures {

// A region of up to this many times the typical size counts with its whole main part.
inline constexpr double kOrdinarySize = 3;
// A larger region counts whole when its main part lies within the frame grown by this share
// of its width and height on each side (Greenland and Antarctica on a map of the world).
inline constexpr double kNearShare = 0.25;

// The side of the square of the region's main part's area; the length of a line region's
// longest line; nothing for a point region, or a region without nodes.
std::optional<double> regionSize(const vec::VectorObject& object);

// The median of the regions' sizes; 0 when no region has one.
double typicalRegionSize(const vec::VectorData& data);

// The frame of the regions; empty when no region has a node. `wholeRegions`: every region's
// main part counts whole, however large (a map of the whole globe).
MapBounds regionsFrame(const vec::VectorData& data, bool wholeRegions = false);

}  // namespace el::figures
