#pragma once
// From longitude/latitude to the coordinates of a map projection, through PROJ: any
// coordinate system PROJ knows ("EPSG:3035", "+proj=robin", WKT, ...), axes in the order
// east, north. One transform serves one thread at a time.
//
// A region's parts are projected as the map draws them: a ring across the antimeridian is
// unwrapped first; where the projection tears the globe apart (the meridian opposite a
// world map's middle), a part that crosses the tear is cut there into pieces, one on each
// side; long edges are followed along the globe, not as straight lines in degrees; and a
// part PROJ cannot project, or one reaching the far side of the globe from the map's
// middle in a projection without a tear, is left out.

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "figures/map_bounds.hpp"
#include "figures/map_crs.hpp"
#include "vector/vector_data.hpp"

namespace el::figures {

// A part of a region is not drawn when one of its nodes lies this far (degrees) from the
// middle of a map without a tear: such a projection swells and turns it inside out there.
inline constexpr double kFarSide = 150;

class MapCrsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ProjectedPoint {
    double x = 0, y = 0;
};

class MapTransform {
public:
    // Throws MapCrsError naming the definition when PROJ does not take it for a coordinate
    // system, or finds no way to it from longitude/latitude. A bare "+proj=..." text is
    // taken as the coordinate system it defines.
    explicit MapTransform(const std::string& definition);
    ~MapTransform();
    MapTransform(MapTransform&&) noexcept;
    MapTransform& operator=(MapTransform&&) noexcept;

    std::optional<ProjectedPoint> forward(double lon, double lat) const;
    std::optional<LonLat> inverse(double x, double y) const;
    // The longitude where the projection tears the globe apart, if it does.
    std::optional<double> tear() const { return tear_; }
    const std::string& definition() const { return definition_; }

private:
    struct Proj;
    std::unique_ptr<Proj> proj_;
    std::optional<double> tear_;
    std::string definition_;
};

// What is wrong with a map coordinate system, as a sentence naming it; nothing when PROJ
// takes it and projects some point of the globe into it.
std::optional<std::string> mapCrsProblem(const std::string& definition);

// The regions of longitude/latitude data in the transform's coordinates, parts projected
// as said above; the objects keep their type and name, not their values. `middle`: the
// map's middle, for the far-side rule.
vec::VectorData projectedRegions(const vec::VectorData& data, const MapTransform& transform, LonLat middle);

// The box, in the transform's coordinates, that holds a box of longitude/latitude.
MapBounds projectedBox(const MapBounds& lonLatBox, const MapTransform& transform);

}  // namespace el::figures
