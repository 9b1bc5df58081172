#pragma once
// Geometries between sf's well-known binary (WKB) and vector file objects, by the rules the
// GIS conversions follow, without GDAL (the R package builds on machines without it).
//
// Into an object: a point is a "point", and so is a multipoint of one point; a line string
// is a "line" (its part labelled "root"); a multi line string a "tree" with one part per
// line labelled "line"; a polygon with one ring a "polygon" (part "out"); a polygon with
// holes and any multipolygon an "area", outer rings labelled "outer", holes "hole". Rings
// drop their closing node; empty members are skipped; Z and M values are dropped. Curves,
// collections and multipoints of several points have no vector file form.
//
// Out of an object: the like geometry, 2D, little-endian ISO WKB; a "tree" is a multi line
// string, an "area" a multipolygon in which each part labelled "hole" is an interior ring of
// the polygon started by the part before it.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "vector/vector_data.hpp"

namespace el::rpkg {

struct WkbShape {
    std::string type;
    std::vector<vec::VectorPart> parts;
};

// Throws std::runtime_error with a sentence (without the region's name) when the bytes are
// not WKB, the geometry is empty or has no vector file form, or a coordinate is not finite.
WkbShape shapeOfWkb(std::span<const std::uint8_t> bytes);

// Throws std::runtime_error for an object without nodes or of an unknown type.
std::vector<std::uint8_t> wkbOfObject(const vec::VectorObject& object);

}  // namespace el::rpkg
