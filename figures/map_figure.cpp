#include "figures/map_figure.hpp"

#include <algorithm>
#include <cmath>

#include "base/numtext.hpp"
#include "engine/hindcast/region_distance.hpp"
#include "engine/hindcast/region_geometry.hpp"
#include "engine/run/skill.hpp"
#include "figures/axis_ticks.hpp"
#include "figures/clip_rect.hpp"
#include "figures/colour.hpp"
#include "figures/layer_move.hpp"
#include "figures/map_crs.hpp"
#include "figures/map_frame.hpp"
#include "figures/map_graticule.hpp"
#include "figures/map_labels.hpp"
#include "figures/map_legend.hpp"
#include "figures/map_transform.hpp"
#include "figures/plot_frame.hpp"
#include "figures/risk_figure.hpp"
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

std::string riskTitle(const engine::RiskResult* risk) {
    if (risk == nullptr) return "Risk of a first record (none computed)";
    if (risk->regions.empty() && !risk->riskReason.empty())
        return "No risk of a first record of " + risk->target + ": " + risk->riskReason;
    return "Risk (%) of a first record of " + risk->target + " within " + plainnum(risk->horizon) + " years of " +
           plainnum(risk->asOf);
}

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
    case MapColouring::Risk:
        return riskTitle(choice.risk);
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
    if (choice.colouring == MapColouring::Risk) {
        if (value) tip.append("\nrisk of a first record: ").append(riskPercent(*value / 100));
    } else if (!listed && value) {
        tip.append("\n").append(shownTitle).append(": ").append(logNumber(*value));
    }
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

// Where the map is drawn: the regions' geometry in the drawn coordinates (projected from
// longitude/latitude, else as they are), the frame in them, how it lands on the canvas, and
// where drawing is cut.
struct MapFrame {
    const vec::VectorData* source = nullptr;
    std::optional<MapTransform> transform;  // longitude/latitude data only
    vec::VectorData projected;              // the regions in the transform's coordinates
    LonLat middle;                          // of the regions on the globe
    MapBounds bounds;
    MapProjection project;
    PixelRect clip;

    bool projects() const { return transform.has_value(); }
    const vec::VectorData& drawn() const { return transform ? projected : *source; }
};

// The projection, the projected regions and the frame of longitude/latitude data.
void projectRegions(MapFrame& f, const MapOptions& options) {
    const vec::VectorData& data = *f.source;
    const std::optional<EqualAreaCrs> ofRegions = equalAreaCrsFor(data);
    std::optional<EqualAreaCrs> shown = ofRegions;
    if (options.extent) shown = equalAreaCrsFor(*options.extent);
    if (!shown) return;
    f.middle = shown->centre;
    f.transform.emplace(options.crs ? *options.crs : shown->definition);
    f.projected = projectedRegions(data, *f.transform, f.middle);
    if (options.extent) f.bounds = projectedBox(*options.extent, *f.transform);
    if (f.bounds.empty()) f.bounds = regionsFrame(f.projected, f.transform->tear().has_value());
    if (f.bounds.empty()) f.bounds = boundsOf(f.projected);
}

void frameMap(MapFrame& f, const MapOptions& options, Rect area) {
    if (showsLonLat(*f.source, options)) projectRegions(f, options);
    if (!f.projects()) {
        f.bounds = options.extent ? *options.extent : regionsFrame(*f.source);
        if (f.bounds.empty()) f.bounds = boundsOf(*f.source);
    }
    if (f.projects()) {
        area.left += kDegreesLeft;
        area.width = std::max(10.0, area.width - kDegreesLeft);
        area.height = std::max(10.0, area.height - kDegreesBottom);
    }
    f.project = fitProjection(f.bounds, options.yDown, area.left, area.top, area.width, area.height);
    const Point a = f.project(f.bounds.minX, f.bounds.minY), b = f.project(f.bounds.maxX, f.bounds.maxY);
    f.clip = {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// The region's parts on the canvas, cut to the frame.
std::vector<std::vector<Point>> drawnRings(const vec::VectorObject& object, bool closed, const MapFrame& frame) {
    std::vector<std::vector<Point>> rings;
    for (const vec::VectorPart& part : object.parts) {
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
    const bool reached = look.style == ValueStyle::Reached;
    const Rgb fill = forecast ? paler(look.colour) : reached ? kReached : look.colour;
    if (object.type == "point") {
        const auto& parts = object.parts;
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
        shape.hatched = forecast || reached || look.role == RegionRole::Excluded;
        if (forecast) shape.hatchColour = look.colour;
        if (reached) shape.hatchColour = kReachedHatch;
    } else {  // a line region shows its value in its own stroke
        stroke.color = fill == kReached ? kReachedHatch : look.colour;
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
                 const std::optional<ValueRange>& range, const std::optional<StyleLegend>& styles,
                 const OutlineKey& outlines) {
    auto valuePart = [&](Layer& layer, double x, double y, double w, double barHeight) {
        y = colourLegend(layer, x, y, w, barHeight, title, range);
        return styles ? styleLegend(layer, x, y + 4, w, *styles) : y;
    };
    if (width >= 480 && width >= 0.9 * height) {
        const double legendWidth = std::min(230.0, width * 0.42), x = width - legendWidth - kMargin;
        const double barHeight = std::clamp(height * (styles ? 0.22 : 0.3), 60.0, 220.0);
        const double y = valuePart(overlay, x, top, legendWidth, barHeight);
        outlineLegend(overlay, x, y + 12, legendWidth, outlines);
        return {kMargin, top, std::max(10.0, x - 2 * kMargin), std::max(10.0, height - top - kMargin)};
    }
    const double columnWidth = std::min(170.0, (width - 3 * kMargin) * 0.42);
    const double barHeight = std::clamp(height * 0.18, 50.0, 110.0);
    Layer legend;
    const double left = valuePart(legend, kMargin, 0, columnWidth, barHeight);
    const double right =
        outlineLegend(legend, 2 * kMargin + columnWidth, 0, width - 3 * kMargin - columnWidth, outlines);
    double legendTop = height - kMargin - std::max(left, right);
    // On a small canvas the outlines' key goes first: the map keeps at least half the height.
    if (legendTop - kMargin - top < 0.5 * (height - top)) {
        legend = {};
        legendTop = height - kMargin - valuePart(legend, kMargin, 0, width - 2 * kMargin, std::min(barHeight, 60.0));
    }
    appendMoved(overlay, std::move(legend), 0, legendTop);
    return {kMargin, top, std::max(10.0, width - 2 * kMargin), std::max(10.0, legendTop - kMargin - top)};
}

// What the outlines' key of a map lists: a risk map draws no role, and shows the swatch of a
// region without a value only where one is neither reached nor given a risk.
OutlineKey outlineKey(const std::vector<std::optional<double>>& values, const std::vector<ValueStyle>& styles,
                      bool riskMap) {
    if (!riskMap) return {};
    bool unvalued = false;
    for (std::size_t k = 0; k < values.size(); ++k)
        unvalued = unvalued || ((!values[k] || !std::isfinite(*values[k])) &&
                                (k >= styles.size() || styles[k] != ValueStyle::Reached));
    return {unvalued, false};
}

// The frame around a projected longitude/latitude map; in the content layer, so it moves
// with the map when the view zooms.
void addFrameBox(Layer& layer, const PixelRect& clip) {
    Shape frame = box(clip.left, clip.top, clip.right, clip.bottom);
    frame.stroke = Stroke{kGrey, 0.8, Dash::Solid};
    layer.shapes.push_back(std::move(frame));
}

// The values' range; a risk map's scale starts at 0.
std::optional<ValueRange> rangeOf(const std::vector<std::optional<double>>& values, bool fromZero) {
    std::optional<ValueRange> range;
    for (const auto& v : values) {
        if (!v || !std::isfinite(*v)) continue;
        if (!range) range = ValueRange{fromZero ? std::min(0.0, *v) : *v, *v};
        range->low = std::min(range->low, *v), range->high = std::max(range->high, *v);
    }
    return range;
}

// The region's centroid on the canvas (engine::regionCentroid, on the globe for a
// projected map, projected as its parts are).
std::optional<Point> centroidOnCanvas(const vec::VectorObject& object, const MapFrame& frame) {
    const auto centre = engine::regionCentroid(object, frame.projects());
    if (!centre) return std::nullopt;
    Point at;
    if (frame.projects()) {
        if (angularDistance(frame.middle, {centre->x, centre->y}) > kFarSide && !frame.transform->tear())
            return std::nullopt;
        const auto p = frame.transform->forward(centre->x, centre->y);
        if (!p) return std::nullopt;
        at = frame.project(p->x, p->y);
    } else {
        at = frame.project(centre->x, centre->y);
    }
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
    const vec::VectorData& drawn = frame.drawn();
    for (std::size_t k = 0; k < data.objects.size(); ++k) {
        const vec::VectorObject& object = data.objects[k];
        const auto at = centroidOnCanvas(object, frame);
        if (!at) continue;
        const vec::VectorObject& shape = drawn.objects[k];
        const auto main = engine::mainPartIndex(shape, false);
        const double area = main && engine::hasRings(shape) ? engine::ringArea(shape.parts[*main]) : 0;
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

bool showsLonLat(const vec::VectorData& data, const MapOptions& options) {
    // Latitude grows northwards: a map whose y grows downwards is in plane coordinates.
    return !options.yDown && isLonLat(boundsOf(data));
}

Scene buildMap(const vec::VectorData& data, const engine::RunResult& run, const MapChoice& choice, double width,
               double height, const MapOptions& options) {
    Scene scene;
    scene.width = width;
    scene.height = height;
    const int regions = static_cast<int>(data.objects.size());
    const auto values = mapValues(run, choice, regions);
    const auto styles = valueStyles(run, choice, regions);
    const bool riskMap = choice.colouring == MapColouring::Risk;
    const std::optional<ValueRange> range = rangeOf(values, riskMap);
    const auto skill = targetSkillShown(data, run, choice);
    const std::vector<bool> overdue = skill ? skill->overdueRegion : std::vector<bool>{};
    std::optional<StyleLegend> styleKey;
    if (skill) styleKey = StyleLegend{skill->latestDate};
    if (riskMap && choice.risk != nullptr && !choice.risk->reached.empty())
        styleKey = StyleLegend{std::nullopt, choice.risk->asOf};

    const std::string title = valueTitle(run, choice);
    const double top = placeTitle(scene.overlay, title, width) + 10;
    MapFrame frame;
    frame.source = &data;
    frameMap(
        frame, options,
        placeLegend(scene.overlay, width, height, top, title, range, styleKey, outlineKey(values, styles, riskMap)));
    std::optional<Graticule> graticule;
    if (frame.projects())
        graticule = graticuleOf(*frame.transform, frame.bounds, frame.project, frame.clip, frame.middle);
    if (graticule)
        for (Shape& line : graticule->lines) scene.underlay.shapes.push_back(std::move(line));

    const std::vector<std::string> predicted = predictedTexts(run, choice, regions);
    for (std::size_t k = 0; k < data.objects.size(); ++k) {
        RegionLook look;
        // The run's roles (training, validation, excluded) say nothing of a risk: one outline.
        look.role = k < run.role.size() && !riskMap ? run.role[k] : RegionRole::Other;
        look.colour = values[k] && std::isfinite(*values[k]) && range
                          ? viridis(range->high > range->low ? (*values[k] - range->low) / (range->high - range->low) : 0.5)
                          : kNoValue;
        look.style = styles[k];
        look.tip = regionTip(data.objects[k], static_cast<int>(k), run, choice, title, predicted[k], values[k]);
        if (k < overdue.size() && overdue[k]) look.tip += "\noverdue: not yet arrived, predicted by the latest date";
        if (look.style == ValueStyle::Reached) look.tip += "\nreached by " + plainnum(choice.risk->asOf);
        addRegion(scene.content, frame.drawn().objects[k], static_cast<int>(k), std::move(look), frame);
    }
    if (skill) addOverdueMarks(scene.content, data, overdue, frame);
    if (options.labels) addNames(scene.content, data, frame);
    if (graticule) {
        addFrameBox(scene.content, frame.clip);
        appendMoved(scene.content, std::move(graticule->marks), 0, 0);
    }
    return scene;
}

}  // namespace el::figures
