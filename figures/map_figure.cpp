#include "figures/map_figure.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "figures/axis_ticks.hpp"
#include "figures/colour.hpp"
#include "figures/layer_move.hpp"
#include "figures/map_legend.hpp"
#include "figures/map_projection.hpp"
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

std::string valueTitle(const engine::RunResult& run, const MapChoice& choice) {
    switch (choice.colouring) {
    case MapColouring::PredictedDate: {
        const int s = chosenSpecies(run, choice);
        return s < 0 ? "Predicted date" : "Predicted date of " + run.speciesNames[static_cast<std::size_t>(s)];
    }
    case MapColouring::RegionScore: return "Region score";
    case MapColouring::ActualDate:
        return run.target < 0 ? "Actual date (no target)"
                              : "Actual date of " + run.speciesNames[static_cast<std::size_t>(run.target)];
    }
    return {};
}

}  // namespace

int chosenSpecies(const engine::RunResult& run, const MapChoice& choice) {
    const int count = static_cast<int>(run.speciesNames.size());
    if (choice.species >= 0 && choice.species < count) return choice.species;
    if (run.target >= 0 && run.target < count) return run.target;
    return count > 0 ? 0 : -1;
}

std::vector<std::optional<double>> mapValues(const engine::RunResult& run, const MapChoice& choice, int regions) {
    std::vector<std::optional<double>> values(static_cast<std::size_t>(std::max(regions, 0)));
    auto at = [&](int k) -> std::optional<double>* {
        return k >= 0 && k < regions ? &values[static_cast<std::size_t>(k)] : nullptr;
    };
    switch (choice.colouring) {
    case MapColouring::PredictedDate: {
        const int s = chosenSpecies(run, choice);
        if (s < 0 || static_cast<std::size_t>(s) >= run.species.size()) break;
        const engine::SpeciesOutcome& row = run.species[static_cast<std::size_t>(s)];
        if (!row.fit.predictable) break;
        for (std::size_t p = 0; p < run.regno.size() && p < row.predicted.size(); ++p)
            if (auto* v = at(run.regno[p])) *v = row.predicted[p];
        break;
    }
    case MapColouring::RegionScore:
        for (std::size_t p = 0; p < run.regno.size() && p < run.score.size(); ++p)
            if (auto* v = at(run.regno[p])) *v = run.score[p];
        break;
    case MapColouring::ActualDate:
        for (int k = 0; k < regions && static_cast<std::size_t>(k) < run.actualDate.size(); ++k)
            values[static_cast<std::size_t>(k)] = run.actualDate[static_cast<std::size_t>(k)];
        break;
    }
    return values;
}


namespace {

// The hover text of region k: name, actual and predicted date, role, and the shown value
// (titled `shownTitle`) when that is not the predicted date.
std::string regionTip(const VectorObject& object, int k, const engine::RunResult& run, const MapChoice& choice,
                      const std::string& shownTitle, const std::string& predicted, const std::optional<double>& value) {
    const auto at = static_cast<std::size_t>(k);
    std::string tip = object.name;
    const std::string actual = at < run.actualText.size() ? run.actualText[at] : "";
    tip += "\nactual date: " + (actual.empty() ? std::string("-") : actual);
    tip += "\npredicted date: " + predicted;
    if (at < run.role.size()) tip.append("\n").append(roleName(run.role[at]));  // GCC 12 -Wrestrict: not "\n" + text
    if (choice.colouring != MapColouring::PredictedDate && value)
        tip += "\n" + shownTitle + ": " + logNumber(*value);
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

// One item per region: a marker for a point, else a shape of all its parts.
void addRegion(Layer& layer, const VectorObject& object, int k, RegionRole role, Rgb fill, std::string tip,
               const MapProjection& project) {
    if (object.type == "point") {
        if (object.parts.empty() || object.parts[0].x.empty() || object.parts[0].y.empty()) return;
        layer.markers.push_back({project(object.parts[0].x[0], object.parts[0].y[0]), MarkerKind::Circle, 11, fill,
                                 outlineOf(role), k, std::move(tip)});
        return;
    }
    Shape shape;
    shape.closed = object.type != "line";
    for (const auto& part : object.parts) {
        std::vector<Point> ring;
        for (std::size_t n = 0; n < part.x.size() && n < part.y.size(); ++n) ring.push_back(project(part.x[n], part.y[n]));
        if (!ring.empty()) shape.rings.push_back(std::move(ring));
    }
    if (shape.closed) shape.fill = fill;
    Stroke stroke = outlineOf(role);
    if (!shape.closed) {  // a line region shows its value in its own stroke
        stroke.color = fill;
        stroke.width = role == RegionRole::Validation ? 4 : 3;
    }
    shape.stroke = stroke;
    shape.hatched = role == RegionRole::Excluded && shape.closed;
    shape.region = k;
    shape.tip = std::move(tip);
    layer.shapes.push_back(std::move(shape));
}

// Lays the legend out beside the map on a wide canvas and under it on a narrow one (the
// window's start-up tab); returns the rectangle left for the map.
Rect placeLegend(Layer& overlay, double width, double height, double top, const std::string& title,
                 const std::optional<ValueRange>& range) {
    if (width >= 480 && width >= 0.9 * height) {
        const double legendWidth = std::min(230.0, width * 0.42), x = width - legendWidth - kMargin;
        const double barHeight = std::clamp(height * 0.3, 60.0, 220.0);
        const double y = colourLegend(overlay, x, top, legendWidth, barHeight, title, range);
        outlineLegend(overlay, x, y + 12, legendWidth);
        return {kMargin, top, std::max(10.0, x - 2 * kMargin), std::max(10.0, height - top - kMargin)};
    }
    const double columnWidth = std::min(170.0, (width - 3 * kMargin) * 0.42);
    Layer legend;
    const double left = colourLegend(legend, kMargin, 0, columnWidth, std::clamp(height * 0.18, 50.0, 110.0), title, range);
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

}  // namespace

Scene buildMap(const VectorData& data, const engine::RunResult& run, const MapChoice& choice, double width,
               double height, const MapOptions& options) {
    Scene scene;
    scene.width = width;
    scene.height = height;
    const int regions = static_cast<int>(data.objects.size());
    const auto values = mapValues(run, choice, regions);
    const std::optional<ValueRange> range = rangeOf(values);
    auto colourOf = [&](const std::optional<double>& v) {
        if (!v || !std::isfinite(*v)) return kNoValue;
        return viridis(range->high > range->low ? (*v - range->low) / (range->high - range->low) : 0.5);
    };

    const std::string title = valueTitle(run, choice);
    const double top = placeTitle(scene.overlay, title, width) + 10;
    Rect area = placeLegend(scene.overlay, width, height, top, title, range);
    const MapBounds bounds = boundsOf(data);
    // Latitude grows northwards: a map whose y grows downwards is in plane coordinates.
    const bool lonLat = isLonLat(bounds) && !options.yDown;
    if (lonLat) {
        area.left += kDegreesLeft;
        area.width = std::max(10.0, area.width - kDegreesLeft);
        area.height = std::max(10.0, area.height - kDegreesBottom);
    }
    const MapProjection project = fitProjection(bounds, lonLat, options.yDown, area.left, area.top, area.width, area.height);

    const std::vector<std::string> predicted = predictedTexts(run, choice, regions);
    for (int k = 0; k < regions; ++k) {
        const auto at = static_cast<std::size_t>(k);
        const RegionRole role = at < run.role.size() ? run.role[at] : RegionRole::Other;
        addRegion(scene.content, data.objects[at], k, role, colourOf(values[at]),
                  regionTip(data.objects[at], k, run, choice, title, predicted[at], values[at]), project);
    }
    if (lonLat) addDegreeAxes(scene.content, bounds, project);
    return scene;
}

}  // namespace el::figures
