#pragma once
// The parts of a region measured as the map and the distance baseline need them: the area of
// a ring, the length of a line, the part that stands for the region (its largest ring, its
// longest line), and rings of longitude/latitude data that cross the antimeridian, which are
// unwrapped (360 added to their negative longitudes) before they are measured or drawn.

#include <cstddef>
#include <optional>

#include "vector/vector_data.hpp"

namespace el::engine {

// True for the parts of an area or tree that the file labels "hole" (any case).
bool isHolePart(const vec::VectorPart& part);

// True for the types whose parts are closed rings: "area", "tree" and "polygon".
bool hasRings(const vec::VectorObject& object);

// True when two consecutive nodes of the part (the last and the first too, for a ring) lie
// more than 180 degrees of longitude apart.
bool crossesAntimeridian(const vec::VectorPart& part, bool closed);

// The part with 360 added to each negative longitude.
vec::VectorPart unwrappedPart(const vec::VectorPart& part);

// The part as it is measured: unwrapped when the data are longitudes and latitudes and it
// crosses the antimeridian, else unchanged.
vec::VectorPart measuredPart(const vec::VectorPart& part, bool closed, bool lonLat);

// The area enclosed by a ring (shoelace, absolute value, in squared map units).
double ringArea(const vec::VectorPart& ring);

// The summed length of a part's segments, not closing it.
double lineLength(const vec::VectorPart& line);

// The part that stands for the region: for areas, trees and polygons the ring of largest
// area that is not a hole (in longitude/latitude, areas are weighed by the cosine of the
// ring's mean latitude); when every ring encloses no area, and for lines, the longest part.
// Nothing for a point region (all its nodes stand for it) and for an object without nodes.
std::optional<std::size_t> mainPartIndex(const vec::VectorObject& object, bool lonLat);

}  // namespace el::engine
