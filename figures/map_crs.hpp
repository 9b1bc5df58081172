#pragma once
// The map's projection for longitude/latitude data when the user names none: equal-area,
// centred on the regions. Regions that all lie within 65 degrees of their middle are drawn
// in the Lambert azimuthal equal-area projection centred there; a wider spread (two
// continents, the world) in the Equal Earth projection centred on its middle longitude, or
// on Greenwich when the regions lie all round the globe; it keeps the poles and the far
// side of the globe from swelling. The projection is
// given as a PROJ definition (map_transform.hpp carries it out), so that every front end
// can hand the same text to PROJ.

#include <optional>
#include <string>
#include <vector>

#include "figures/map_bounds.hpp"
#include "vector/vector_data.hpp"

namespace el::figures {

// Beyond this angular distance (degrees) of the middle, a study area takes the world projection.
inline constexpr double kAzimuthalReach = 65;
// Regions spanning more degrees of longitude than this lie all round the globe.
inline constexpr double kRoundTheGlobe = 300;

struct LonLat {
    double lon = 0, lat = 0;
};

// The middle of a set of points on the globe: the middle of the shortest arc of longitude
// that holds them all (so the antimeridian is no edge) and of their range of latitude; and
// the greatest angular distance of a point from it.
struct GlobeMiddle {
    LonLat centre;
    double reach = 0;  // degrees
    double arc = 0;    // degrees of longitude the points span
};
std::optional<GlobeMiddle> middleOf(const std::vector<LonLat>& points);

struct EqualAreaCrs {
    std::string definition;  // PROJ's text of the coordinate system
    LonLat centre;
    bool world = false;  // Equal Earth rather than the azimuthal projection
};

// For the regions of longitude/latitude data, by their centroids; nothing without one.
std::optional<EqualAreaCrs> equalAreaCrsFor(const vec::VectorData& data);

// For a frame given in longitude/latitude (longitudes east of 180 as 180 to 360).
EqualAreaCrs equalAreaCrsFor(const MapBounds& lonLatBox);

// Degrees along the great circle between two points.
double angularDistance(LonLat a, LonLat b);

// The longitude brought into -180 (included) to 180.
double normalLongitude(double lon);

}  // namespace el::figures
