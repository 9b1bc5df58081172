#include "figures/map_crs.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "engine/hindcast/region_distance.hpp"

namespace el::figures {
namespace {

double radians(double degrees) { return degrees * std::numbers::pi / 180; }

// A short decimal text for a PROJ parameter: four decimals at most, no trailing zeros.
std::string parameterText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", std::fabs(value) < 5e-5 ? 0.0 : value);
    std::string out(text);
    while (out.back() == '0') out.pop_back();
    if (out.back() == '.') out.pop_back();
    return out;
}

EqualAreaCrs crsAt(const GlobeMiddle& middle) {
    EqualAreaCrs crs;
    crs.centre = middle.centre;
    crs.world = middle.reach > kAzimuthalReach;
    if (crs.world && middle.arc > kRoundTheGlobe) crs.centre.lon = 0;
    const std::string lon = parameterText(crs.centre.lon), lat = parameterText(crs.centre.lat);
    crs.definition = crs.world ? "+proj=eqearth +lon_0=" + lon : "+proj=laea +lat_0=" + lat + " +lon_0=" + lon;
    crs.definition += " +x_0=0 +y_0=0 +datum=WGS84 +units=m +no_defs +type=crs";
    return crs;
}

struct Arc {
    double middle = 0, span = 0;
};

// The shortest arc of longitude holding every one of `lons` (each in -180..180).
Arc shortestArc(std::vector<double> lons) {
    std::sort(lons.begin(), lons.end());
    double widestGap = lons.front() + 360 - lons.back();
    double arcStart = lons.front();
    for (std::size_t i = 0; i + 1 < lons.size(); ++i)
        if (lons[i + 1] - lons[i] > widestGap) widestGap = lons[i + 1] - lons[i], arcStart = lons[i + 1];
    return {normalLongitude(arcStart + (360 - widestGap) / 2), 360 - widestGap};
}

}  // namespace

double normalLongitude(double lon) {
    lon = std::fmod(lon + 180, 360);
    if (lon < 0) lon += 360;
    return lon - 180;
}

double angularDistance(LonLat a, LonLat b) {
    const double p1 = radians(a.lat), p2 = radians(b.lat), dl = radians(b.lon - a.lon);
    const double s = std::sin((p2 - p1) / 2), t = std::sin(dl / 2);
    const double h = std::clamp(s * s + std::cos(p1) * std::cos(p2) * t * t, 0.0, 1.0);
    return 2 * std::asin(std::sqrt(h)) * 180 / std::numbers::pi;
}

std::optional<GlobeMiddle> middleOf(const std::vector<LonLat>& points) {
    if (points.empty()) return std::nullopt;
    std::vector<double> lons;
    double south = 90, north = -90;
    for (const LonLat& p : points) {
        lons.push_back(normalLongitude(p.lon));
        south = std::min(south, p.lat), north = std::max(north, p.lat);
    }
    const Arc arc = shortestArc(std::move(lons));
    GlobeMiddle middle{{arc.middle, (south + north) / 2}, 0, arc.span};
    for (const LonLat& p : points) middle.reach = std::max(middle.reach, angularDistance(middle.centre, p));
    return middle;
}

std::optional<EqualAreaCrs> equalAreaCrsFor(const vec::VectorData& data) {
    std::vector<LonLat> centres;
    for (const vec::VectorObject& object : data.objects)
        if (const auto c = engine::regionCentroid(object, true))
            centres.push_back({c->x, std::clamp(c->y, -90.0, 90.0)});
    const auto middle = middleOf(centres);
    if (!middle) return std::nullopt;
    return crsAt(*middle);
}

EqualAreaCrs equalAreaCrsFor(const MapBounds& box) {
    const double midX = (box.minX + box.maxX) / 2, midY = (box.minY + box.maxY) / 2;
    GlobeMiddle middle{{normalLongitude(midX), midY}, 0, 0};  // centred where the box is, whatever its width
    for (double x : {box.minX, midX, box.maxX})
        for (double y : {box.minY, midY, box.maxY})
            middle.reach = std::max(middle.reach, angularDistance(middle.centre, {x, y}));
    if (box.width() >= 180) middle.reach = 180;  // half the globe or more: no azimuthal view holds it
    return crsAt(middle);
}

}  // namespace el::figures
