#pragma once
// Geometries between GIS features and vector file objects.
//
// Into a vector file: a point is a "point"; a one-point multipoint too (a multipoint of
// several points is refused: a region has one place); a line string is a "line"; a
// multi line string is a "tree" with one part per line, labelled "line"; a polygon with
// one ring is a "polygon"; a polygon with holes and any multipolygon are an "area" with
// one part per ring, outer rings labelled "outer" and holes "hole". Rings drop their
// closing node. Curves are approximated by lines; Z and M values are dropped.
//
// Out of a vector file: "point", "line" and "polygon" become the like geometry, a "tree"
// a multi line string, an "area" a multipolygon in which each part labelled "hole" is an
// interior ring of the polygon started by the part before it and every other part starts
// a polygon of its own.

#include <memory>
#include <string>
#include <vector>

#include <ogr_geometry.h>

#include "vector/vector_data.hpp"

namespace el::gis {

struct VectorShape {
    std::string type;
    std::vector<vec::VectorPart> parts;
};

// Throws GisError for an empty geometry or a kind that has no vector file form.
VectorShape shapeOf(const OGRGeometry& geometry);

// Throws GisError for an object without nodes or of an unknown type.
std::unique_ptr<OGRGeometry> geometryOf(const vec::VectorObject& object);

// The one layer type that holds every geometry of `types` (single kinds are promoted to
// their multi kind when both occur), or wkbUnknown for a mixture.
OGRwkbGeometryType commonLayerType(const std::vector<OGRwkbGeometryType>& types);

}  // namespace el::gis
