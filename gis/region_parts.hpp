#pragma once
// The features of a regions layer that share a key make one region: their parts together,
// as one multi-geometry (world outline files give a country and its far islands the same
// code, each as a feature of its own).

#include <memory>
#include <string>
#include <vector>

#include <ogr_geometry.h>

namespace el::gis {

// One geometry of every part of `pieces` (in their order): polygons and multipolygons give
// a multipolygon, line strings and multi line strings a multi line string; a single piece
// is returned as it is. Curves are approximated by lines first. Throws GisError when the
// pieces are points or of mixed kinds, which no one region can be; `what` names the region
// ("the key \"036\" of field \"id\"") at the front of that message.
std::unique_ptr<OGRGeometry> joinedGeometry(std::vector<std::unique_ptr<OGRGeometry>> pieces, const std::string& what);

}  // namespace el::gis
