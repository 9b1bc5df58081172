#include "figures/map_graticule.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

#include "figures/colour.hpp"

namespace el::figures {
namespace {

constexpr Stroke kGraticuleStroke{{205, 205, 205}, 0.6, Dash::Solid};
constexpr Stroke kTickStroke{kGrey, 0.8, Dash::Solid};
constexpr int kMostLines = 6;

// The longitudes and latitudes the frame shows: its edges and middle taken back to the
// globe; the whole globe when the projection tears it or the frame holds a pole.
struct DegreeRange {
    double west = -180, east = 180, south = -90, north = 90;
};

bool holds(const MapBounds& frame, const std::optional<ProjectedPoint>& p) {
    return p && p->x >= frame.minX && p->x <= frame.maxX && p->y >= frame.minY && p->y <= frame.maxY;
}

DegreeRange rangeShown(const MapTransform& t, const MapBounds& frame, LonLat middle) {
    DegreeRange range;
    if (t.tear()) return range;
    const bool northPole = holds(frame, t.forward(middle.lon, 90)),
               southPole = holds(frame, t.forward(middle.lon, -90));
    double west = 0, east = 0, south = 90, north = -90;
    constexpr int kSteps = 48;
    for (int i = 0; i <= kSteps; ++i)
        for (int j = 0; j <= kSteps; ++j) {
            if (i != 0 && i != kSteps && j != 0 && j != kSteps && (i != kSteps / 2 || j != kSteps / 2)) continue;
            const auto p = t.inverse(frame.minX + frame.width() * i / kSteps, frame.minY + frame.height() * j / kSteps);
            if (!p) continue;
            const double relative = normalLongitude(p->lon - middle.lon);
            west = std::min(west, relative), east = std::max(east, relative);
            south = std::min(south, p->lat), north = std::max(north, p->lat);
        }
    if (!northPole && !southPole && south <= north) {
        range.west = middle.lon + west, range.east = middle.lon + east;
        range.south = south, range.north = north;
    } else {
        range.south = southPole ? -90 : std::min(south, 0.0);
        range.north = northPole ? 90 : std::max(north, 0.0);
    }
    return range;
}

// The degrees of longitude along the frame's middle row and of latitude along its middle
// column: what sets the step (an azimuthal frame's corners reach far wider longitudes).
std::pair<double, double> middleSpans(const MapTransform& t, const MapBounds& frame, LonLat middle,
                                      const DegreeRange& shown) {
    if (t.tear()) return {shown.east - shown.west, shown.north - shown.south};
    double west = 0, east = 0, south = 90, north = -90;
    constexpr int kSteps = 32;
    for (int i = 0; i <= kSteps; ++i) {
        const double share = static_cast<double>(i) / kSteps;
        if (const auto p = t.inverse(frame.minX + frame.width() * share, frame.minY + frame.height() / 2)) {
            const double relative = normalLongitude(p->lon - middle.lon);
            west = std::min(west, relative), east = std::max(east, relative);
        }
        if (const auto p = t.inverse(frame.minX + frame.width() / 2, frame.minY + frame.height() * share))
            south = std::min(south, p->lat), north = std::max(north, p->lat);
    }
    if (!(east > west) || !(north > south)) return {shown.east - shown.west, shown.north - shown.south};
    return {east - west, north - south};
}

// The canvas pieces of a line of the globe given node by node, cut to the clip.
std::vector<std::vector<Point>> drawnPieces(const std::vector<LonLat>& nodes, const MapTransform& t,
                                            const MapProjection& canvas, const PixelRect& clip, LonLat middle) {
    std::vector<std::vector<Point>> pieces, out;
    pieces.emplace_back();
    for (const LonLat& node : nodes) {
        const auto p =
            t.tear() || angularDistance(middle, node) <= kFarSide ? t.forward(node.lon, node.lat) : std::nullopt;
        if (p) pieces.back().push_back(canvas(p->x, p->y));
        else if (!pieces.back().empty()) pieces.emplace_back();
    }
    for (const auto& piece : pieces)
        for (auto& cut : clipLine(piece, clip)) out.push_back(std::move(cut));
    return out;
}

std::vector<double> multiplesOf(double step, double low, double high) {
    std::vector<double> values;
    for (double v = std::ceil(low / step) * step; v <= high + 1e-9; v += step)
        values.push_back(std::round(v / step) * step);
    return values;
}

struct EdgeLabels {
    Layer& marks;
    const PixelRect& clip;
    std::vector<double> bottomAt, leftAt;

    bool claim(std::vector<double>& taken, double at, double apart) {
        for (double t : taken)
            if (std::fabs(t - at) < apart) return false;
        taken.push_back(at);
        return true;
    }
    void meridian(Point end, double lon) {
        if (std::fabs(end.y - clip.bottom) > 0.01 || !claim(bottomAt, end.x, 44)) return;
        marks.shapes.push_back(segment({end.x, clip.bottom}, {end.x, clip.bottom + 4}, kTickStroke));
        marks.labels.push_back({{end.x, clip.bottom + 15}, longitudeText(lon), 10, TextAnchor::Middle, kBlack});
    }
    void parallel(Point end, double lat) {
        if (std::fabs(end.x - clip.left) > 0.01 || !claim(leftAt, end.y, 14)) return;
        marks.shapes.push_back(segment({clip.left - 4, end.y}, {clip.left, end.y}, kTickStroke));
        marks.labels.push_back({{clip.left - 6, end.y + 3.5}, latitudeText(lat), 10, TextAnchor::End, kBlack});
    }
};

void addLines(Graticule& g, std::vector<std::vector<Point>> pieces, Stroke stroke) {
    for (auto& piece : pieces) {
        if (piece.size() >= 2) g.lines.push_back(segment({}, {}, stroke));
        if (piece.size() >= 2) g.lines.back().rings = {std::move(piece)};
    }
}

}  // namespace

double graticuleStep(double span, int most) {
    for (double step : {0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0, 15.0, 20.0, 30.0})
        if (span / step <= most) return step;
    return 30;
}

Graticule graticuleOf(const MapTransform& t, const MapBounds& frame, const MapProjection& canvas, const PixelRect& clip,
                      LonLat middle) {
    Graticule g;
    const DegreeRange r = rangeShown(t, frame, middle);
    const auto [lonSpan, latSpan] = middleSpans(t, frame, middle, r);
    const double lonStep = graticuleStep(lonSpan, kMostLines), latStep = graticuleStep(latSpan, kMostLines);
    EdgeLabels labels{g.marks, clip, {}, {}};
    const double alongLat = std::min(latStep / 8, 1.0), alongLon = std::min(lonStep / 8, 1.0);
    // The lines run a step beyond the range, so that they reach the frame's edges.
    const double south = std::max(-90.0, r.south - latStep), north = std::min(90.0, r.north + latStep);
    double west = r.west - lonStep, east = std::min(r.east + lonStep, west + 360 - 1e-6);
    if (r.east - r.west >= 360) west = -180, east = 180 - 1e-6;
    for (double lon : multiplesOf(lonStep, west, east)) {
        if (t.tear() && std::fabs(normalLongitude(lon - *t.tear())) < 1e-9) continue;  // the globe's edge, below
        std::vector<LonLat> nodes;
        for (double lat : multiplesOf(alongLat, south, north)) nodes.push_back({lon, lat});
        auto pieces = drawnPieces(nodes, t, canvas, clip, middle);
        for (const auto& piece : pieces) labels.meridian(piece.front(), lon), labels.meridian(piece.back(), lon);
        addLines(g, std::move(pieces), kGraticuleStroke);
    }
    for (double lat : multiplesOf(latStep, south, north)) {
        if (std::fabs(lat) >= 90) continue;
        std::vector<LonLat> nodes;
        if (const auto tear = t.tear()) {  // from one side of the tear round to the other
            for (int k = 0; k <= 360; ++k) nodes.push_back({*tear + 1e-7 + (360 - 2e-7) * k / 360, lat});
        } else {
            for (double lon : multiplesOf(alongLon, west, east)) nodes.push_back({lon, lat});
        }
        auto pieces = drawnPieces(nodes, t, canvas, clip, middle);
        for (const auto& piece : pieces) labels.parallel(piece.front(), lat), labels.parallel(piece.back(), lat);
        addLines(g, std::move(pieces), kGraticuleStroke);
    }
    if (const auto tear = t.tear())
        for (double edge : {*tear + 1e-7, *tear + 360 - 1e-7}) {
            std::vector<LonLat> nodes;
            for (double lat = -90; lat <= 90; lat += 1) nodes.push_back({edge, lat});
            addLines(g, drawnPieces(nodes, t, canvas, clip, middle), kTickStroke);
        }
    return g;
}

}  // namespace el::figures
