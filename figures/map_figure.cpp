#include "figures/map_figure.hpp"

#include <algorithm>
#include <cmath>

#include "engine/hindcast/region_distance.hpp"
#include "engine/hindcast/region_geometry.hpp"
#include "engine/run/skill.hpp"
#include "figures/axis_ticks.hpp"
#include "figures/clip_rect.hpp"
#include "figures/colour.hpp"
#include "figures/layer_move.hpp"
#include "figures/map_frame.hpp"
#include "figures/map_labels.hpp"
#include "figures/map_legend.hpp"
#include "figures/plot_frame.hpp"
#include "figures/text_fit.hpp"

namespace el::figures {
namespace {

using engine::RegionRole;

constexpr double kMargin = 16;
constexpr double kDegreesLeft = 46, kDegreesBottom = 20;  // room for the degree labels

struct Rect {
    double left, top, width, height;
};

std::string roleName(RegionRole role) {
    switch (role) {
    case RegionRole::Training: return "training";
    case RegionRole::Validation: return "validation";
    case RegionRole::Other: return "no target date";
    case RegionRole::Excluded: return "excluded";
    }
    return {};
}

std::string speciesName(const engine::RunResult& run, int s) { return run.speciesNames[static_cast<std::size_t>(s)]; }

std::string valueTitle(const engine::RunResult& run, const MapChoice& choice) {
    const int s = chosenSpecies(run, choice);
    switch (choice.colouring) {
    case MapColouring::KnownAndForecast:
        if (showsKnownAndForecast(run, choice)) return "Date of " + speciesName(run, s) + ": recorded or predicted";
        [[fallthrough]];
    case MapColouring::PredictedDate: return s < 0 ? "Predicted date" : "Predicted date of " + speciesName(run, s);
    case MapColouring::RegionScore: return "Region score";
    case MapColouring::ActualDate:
        return run.target < 0 ? "Actual date (no target)" : "Actual date of " + speciesName(run, run.target);
    }
    return {};
}

// What the map knows of region k beyond its geometry.
struct RegionLook {
    RegionRole role = RegionRole::Other;
    Rgb colour;  // of its value on the scale, kNoValue for none
    ValueStyle style = ValueStyle::Plain;
    bool overdue = false;
    std::string tip;
};

// The hover text of region k: name, actual and predicted date, role, and the shown value
// (titled `shownTitle`) when that is not a date already listed.
std::string regionTip(const vec::VectorObject& object, int k, const engine::RunResult& run, const MapChoice& choice,
                      const std::string& shownTitle, const std::string& predicted, const std::optional<double>& value) {
    const auto at = static_cast<std::size_t>(k);
    std::string tip = object.name;
    const std::string actual = at < run.actualText.size() ? run.actualText[at] : "";
    tip += "\nactual date: " + (actual.empty() ? std::string("-") : actual);
    tip += "\npredicted date: " + predicted;
    if (at < run.role.size()) tip.append("\n").append(roleName(run.role[at]));  // GCC 12 -Wrestrict: not "\n" + text
    const bool listed = choice.colouring == MapColouring::PredictedDate || choice.colouring == MapColouring::KnownAndForecast;
    if (!listed && value) tip.append("\n").append(shownTitle).append(": ").append(logNumber(*value));
    return tip;
}

// The predicted date text of every region, by one pass over the used positions.
std::vector<std::string> predictedTexts(const engine::RunResult& run, const MapChoice& choice, int regions) {
    std::vector<std::string> texts(static_cast<std::size_t>(regions), "-");
    const int species = chosenSpecies(run, choice);
    if (species < 0 || static_cast<std::size_t>(species) >= run.species.size()) return texts;
    const engine::SpeciesOutcome& row = run.species[static_cast<std::size_t>(species)];
    for (std::size_t p = 0; p < run.regno.size() && p < run.score.size(); ++p)
        if (run.regno[p] >= 0 && run.regno[p] < regions)
            texts[static_cast<std::size_t>(run.regno[p])] =
                p < row.predicted.size() ? logNumber(row.predicted[p]) : "Unpredictable";
    return texts;
}

// Where the map is drawn: the frame in map units, how it lands on the canvas, and where
// drawing is cut.
struct MapFrame {
    MapBounds bounds;
    bool lonLat = false;
    double middleX = 0;  // longitudes are placed by whole turns towards it
    MapProjection project;
    PixelRect clip;
};

MapFrame frameMap(const vec::VectorData& data, const MapOptions& options, Rect area) {
    MapFrame f;
    // Latitude grows northwards: a map whose y grows downwards is in plane coordinates.
    f.lonLat = isLonLat(boundsOf(data)) && !options.yDown;
    f.bounds = options.extent ? *options.extent : mainPartsFrame(data, f.lonLat);
    if (f.bounds.empty()) f.bounds = boundsOf(data);
    f.middleX = (f.bounds.minX + f.bounds.maxX) / 2;
    if (f.lonLat) {
        area.left += kDegreesLeft;
        area.width = std::max(10.0, area.width - kDegreesLeft);
        area.height = std::max(10.0, area.height - kDegreesBottom);
    }
    f.project = fitProjection(f.bounds, f.lonLat, options.yDown, area.left, area.top, area.width, area.height);
    const Point a = f.project(f.bounds.minX, f.bounds.minY), b = f.project(f.bounds.maxX, f.bounds.maxY);
    f.clip = {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    return f;
}

// The region's parts on the canvas, cut to the frame.
std::vector<std::vector<Point>> drawnRings(const vec::VectorObject& object, bool closed, const MapFrame& frame) {
    std::vector<std::vector<Point>> rings;
    for (const vec::VectorPart& part : placedParts(object, frame.lonLat, frame.middleX)) {
        std::vector<Point> ring;
        for (std::size_t n = 0; n < part.x.size() && n < part.y.size(); ++n) ring.push_back(frame.project(part.x[n], part.y[n]));
        if (ring.empty()) continue;
        if (closed) {
            if (auto cut = clipRing(ring, frame.clip); !cut.empty()) rings.push_back(std::move(cut));
        } else {
            for (auto& piece : clipLine(ring, frame.clip)) rings.push_back(std::move(piece));
        }
    }
    return rings;
}

// One item per region: a marker for a point, else a shape of all its parts.
void addRegion(Layer& layer, const vec::VectorObject& object, int k, RegionLook look, const MapFrame& frame) {
    const bool forecast = look.style == ValueStyle::Forecast && look.colour != kNoValue;
    const Rgb fill = forecast ? paler(look.colour) : look.colour;
    if (object.type == "point") {
        const auto parts = placedParts(object, frame.lonLat, frame.middleX);
        if (parts.empty() || parts[0].x.empty() || parts[0].y.empty()) return;
        const Point at = frame.project(parts[0].x[0], parts[0].y[0]);
        if (!frame.clip.holds(at)) return;
        Stroke stroke = forecast ? Stroke{look.colour, 2, Dash::Solid} : outlineOf(look.role);
        layer.markers.push_back({at, MarkerKind::Circle, 11, fill, stroke, k, std::move(look.tip)});
        return;
    }
    Shape shape;
    shape.closed = object.type != "line";
    shape.rings = drawnRings(object, shape.closed, frame);
    Stroke stroke = outlineOf(look.role);
    if (shape.closed) {
        shape.fill = fill;
        shape.hatched = forecast || look.role == RegionRole::Excluded;
        if (forecast) shape.hatchColour = look.colour;
    } else {  // a line region shows its value in its own stroke
        stroke.color = look.colour;
        stroke.width = look.role == RegionRole::Validation ? 4 : 3;
        stroke.dash = forecast ? Dash::Dashed : stroke.dash;
    }
    shape.stroke = stroke;
    shape.region = k;
    shape.tip = std::move(look.tip);
    layer.shapes.push_back(std::move(shape));
}

// Lays the legend out beside the map on a wide canvas and under it on a narrow one (the
// window's start-up tab); returns the rectangle left for the map.
Rect placeLegend(Layer& overlay, double width, double height, double top, const std::string& title,
                 const std::optional<ValueRange>& range, const std::optional<StyleLegend>& styles) {
    auto valuePart = [&](Layer& layer, double x, double y, double w, double barHeight) {
        y = colourLegend(layer, x, y, w, barHeight, title, range);
        return styles ? styleLegend(layer, x, y + 4, w, *styles) : y;
    };
    if (width >= 480 && width >= 0.9 * height) {
        const double legendWidth = std::min(230.0, width * 0.42), x = width - legendWidth - kMargin;
        const double barHeight = std::clamp(height * (styles ? 0.22 : 0.3), 60.0, 220.0);
        const double y = valuePart(overlay, x, top, legendWidth, barHeight);
        outlineLegend(overlay, x, y + 12, legendWidth);
        return {kMargin, top, std::max(10.0, x - 2 * kMargin), std::max(10.0, height - top - kMargin)};
    }
    const double columnWidth = std::min(170.0, (width - 3 * kMargin) * 0.42);
    Layer legend;
    const double left = valuePart(legend, kMargin, 0, columnWidth, std::clamp(height * 0.18, 50.0, 110.0));
    const double right = outlineLegend(legend, 2 * kMargin + columnWidth, 0, width - 3 * kMargin - columnWidth);
    const double legendTop = height - kMargin - std::max(left, right);
    appendMoved(overlay, std::move(legend), 0, legendTop);
    return {kMargin, top, std::max(10.0, width - 2 * kMargin), std::max(10.0, legendTop - kMargin - top)};
}

// A frame around a longitude/latitude map with ticks and degree labels on its left and
// bottom edges; in the content layer, so it moves with the map when the view zooms.
void addDegreeAxes(Layer& layer, const MapBounds& bounds, const MapProjection& project) {
    const Point a = project(bounds.minX, bounds.minY), b = project(bounds.maxX, bounds.maxY);
    const double x0 = std::min(a.x, b.x), x1 = std::max(a.x, b.x), y0 = std::min(a.y, b.y), y1 = std::max(a.y, b.y);
    Shape frame = box(x0, y0, x1, y1);
    frame.stroke = Stroke{kGrey, 0.8, Dash::Solid};
    layer.shapes.push_back(std::move(frame));
    auto tick = [&](Point from, Point to) { layer.shapes.push_back(segment(from, to, {kGrey, 0.8, Dash::Solid})); };
    for (double x : niceTicks(bounds.minX, bounds.maxX, std::clamp(static_cast<int>((x1 - x0) / 90), 2, 8))) {
        if (x < bounds.minX || x > bounds.maxX) continue;
        const double px = project(x, bounds.minY).x;
        tick({px, y1}, {px, y1 + 4});
        layer.labels.push_back({{px, y1 + 15}, longitudeText(x), 10, TextAnchor::Middle, kBlack});
    }
    for (double y : niceTicks(bounds.minY, bounds.maxY, std::clamp(static_cast<int>((y1 - y0) / 60), 2, 8))) {
        if (y < bounds.minY || y > bounds.maxY) continue;
        const double py = project(bounds.minX, y).y;
        tick({x0 - 4, py}, {x0, py});
        layer.labels.push_back({{x0 - 6, py + 3.5}, latitudeText(y), 10, TextAnchor::End, kBlack});
    }
}

std::optional<ValueRange> rangeOf(const std::vector<std::optional<double>>& values) {
    std::optional<ValueRange> range;
    for (const auto& v : values) {
        if (!v || !std::isfinite(*v)) continue;
        if (!range) range = ValueRange{*v, *v};
        range->low = std::min(range->low, *v), range->high = std::max(range->high, *v);
    }
    return range;
}

// The region's centroid on the canvas (engine::regionCentroid, placed as its parts are).
std::optional<Point> centroidOnCanvas(const vec::VectorObject& object, const MapFrame& frame) {
    const auto centre = engine::regionCentroid(object, frame.lonLat);
    if (!centre) return std::nullopt;
    const double x = frame.lonLat ? placedLongitude(centre->x, frame.middleX) : centre->x;
    const Point at = frame.project(x, centre->y);
    if (!frame.clip.holds(at)) return std::nullopt;
    return at;
}

// A ring over the centroid of every overdue region.
void addOverdueMarks(Layer& layer, const vec::VectorData& data, const std::vector<bool>& overdue,
                     const MapFrame& frame) {
    for (std::size_t k = 0; k < data.objects.size() && k < overdue.size(); ++k) {
        if (!overdue[k]) continue;
        if (const auto at = centroidOnCanvas(data.objects[k], frame))
            layer.markers.push_back({*at, MarkerKind::Circle, 14, std::nullopt, {kOverdueMark, 2.4, Dash::Solid}, -1,
                                     data.objects[k].name + "\noverdue"});
    }
}

void addNames(Layer& layer, const vec::VectorData& data, const MapFrame& frame) {
    std::vector<LabelCandidate> candidates;
    for (std::size_t k = 0; k < data.objects.size(); ++k) {
        const vec::VectorObject& object = data.objects[k];
        const auto at = centroidOnCanvas(object, frame);
        if (!at) continue;
        const auto main = engine::mainPartIndex(object, frame.lonLat);
        const double area = main && engine::hasRings(object) ? engine::ringArea(object.parts[*main]) : 0;
        candidates.push_back({*at, object.name, area});
    }
    placeRegionLabels(layer, std::move(candidates), frame.clip);
}

// The skill of the target (its overdue regions and latest date) when the map shows what is
// known and what is forecast of it.
std::optional<engine::SpeciesSkill> targetSkillShown(const vec::VectorData& data, const engine::RunResult& run,
                                                     const MapChoice& choice) {
    if (!showsKnownAndForecast(run, choice) || static_cast<std::size_t>(run.target) >= run.species.size())
        return std::nullopt;
    return engine::targetSkill(data, run);
}

}  // namespace

Scene buildMap(const vec::VectorData& data, const engine::RunResult& run, const MapChoice& choice, double width,
               double height, const MapOptions& options) {
    Scene scene;
    scene.width = width;
    scene.height = height;
    const int regions = static_cast<int>(data.objects.size());
    const auto values = mapValues(run, choice, regions);
    const auto styles = valueStyles(run, choice, regions);
    const std::optional<ValueRange> range = rangeOf(values);
    const auto skill = targetSkillShown(data, run, choice);
    const std::vector<bool> overdue = skill ? skill->overdueRegion : std::vector<bool>{};
    std::optional<StyleLegend> styleKey;
    if (skill) styleKey = StyleLegend{skill->latestDate};

    const std::string title = valueTitle(run, choice);
    const double top = placeTitle(scene.overlay, title, width) + 10;
    const MapFrame frame = frameMap(data, options, placeLegend(scene.overlay, width, height, top, title, range, styleKey));

    const std::vector<std::string> predicted = predictedTexts(run, choice, regions);
    for (std::size_t k = 0; k < data.objects.size(); ++k) {
        RegionLook look;
        look.role = k < run.role.size() ? run.role[k] : RegionRole::Other;
        look.colour = values[k] && std::isfinite(*values[k]) && range
                          ? viridis(range->high > range->low ? (*values[k] - range->low) / (range->high - range->low) : 0.5)
                          : kNoValue;
        look.style = styles[k];
        look.tip = regionTip(data.objects[k], static_cast<int>(k), run, choice, title, predicted[k], values[k]);
        if (k < overdue.size() && overdue[k]) look.tip += "\noverdue: not yet arrived, predicted by the latest date";
        addRegion(scene.content, data.objects[k], static_cast<int>(k), std::move(look), frame);
    }
    if (skill) addOverdueMarks(scene.content, data, overdue, frame);
    if (options.labels) addNames(scene.content, data, frame);
    if (frame.lonLat) addDegreeAxes(scene.content, frame.bounds, frame.project);
    return scene;
}

}  // namespace el::figures
