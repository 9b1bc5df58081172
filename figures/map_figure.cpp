#include "figures/map_figure.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/numtext.hpp"
#include "figures/axis_ticks.hpp"
#include "figures/colour.hpp"

namespace el::figures {
namespace {

using engine::RegionRole;

constexpr double kMargin = 16;
constexpr double kTitleHeight = 28;
constexpr int kBarSteps = 64;

struct Bounds {
    double minX = std::numeric_limits<double>::infinity(), minY = minX;
    double maxX = -std::numeric_limits<double>::infinity(), maxY = maxX;
    void add(double x, double y) {
        if (!std::isfinite(x) || !std::isfinite(y)) return;
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
    bool empty() const { return !(minX <= maxX); }
};

// Map coordinates (y up) to canvas pixels (y down), keeping the aspect ratio.
struct Projection {
    double scale = 1, offsetX = 0, offsetY = 0, maxY = 0;
    Point operator()(double x, double y) const { return {offsetX + x * scale, offsetY + (maxY - y) * scale}; }
};

Projection fit(const Bounds& b, double left, double top, double width, double height) {
    Projection p;
    if (b.empty()) return p;
    const double w = std::max(b.maxX - b.minX, 1e-12), h = std::max(b.maxY - b.minY, 1e-12);
    p.scale = std::min(width / w, height / h);
    p.maxY = b.maxY;
    p.offsetX = left + (width - w * p.scale) / 2 - b.minX * p.scale;
    p.offsetY = top + (height - h * p.scale) / 2;
    return p;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

std::string roleName(RegionRole role) {
    switch (role) {
    case RegionRole::Training: return "training";
    case RegionRole::Validation: return "validation";
    case RegionRole::Other: return "no target date";
    case RegionRole::Excluded: return "excluded";
    }
    return {};
}

Stroke outlineOf(RegionRole role) {
    switch (role) {
    case RegionRole::Training: return {kBlack, 1.2, Dash::Solid};
    case RegionRole::Validation: return {kBlack, 2.4, Dash::Dashed};
    case RegionRole::Other: return {kGrey, 1.0, Dash::Solid};
    case RegionRole::Excluded: return {kGrey, 1.0, Dash::Dotted};
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
        const engine::SpeciesFit& fit = run.species[static_cast<std::size_t>(s)].fit;
        if (!fit.predictable) break;
        for (std::size_t p = 0; p < run.regno.size() && p < run.score.size(); ++p)
            if (auto* v = at(run.regno[p])) *v = fit.a * run.score[p] + fit.b;
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

Scene buildMap(const VectorData& data, const engine::RunResult& run, const MapChoice& choice, double width,
               double height) {
    Scene scene;
    scene.width = width;
    scene.height = height;
    const int regions = static_cast<int>(data.objects.size());
    const auto values = mapValues(run, choice, regions);

    double low = std::numeric_limits<double>::infinity(), high = -low;
    for (const auto& v : values)
        if (v && std::isfinite(*v)) low = std::min(low, *v), high = std::max(high, *v);
    const bool anyValue = low <= high;
    auto colourOf = [&](const std::optional<double>& v) {
        if (!v || !std::isfinite(*v)) return kNoValue;
        return viridis(high > low ? (*v - low) / (high - low) : 0.5);
    };

    Bounds bounds;
    for (const auto& object : data.objects)
        for (const auto& part : object.parts)
            for (std::size_t k = 0; k < part.x.size() && k < part.y.size(); ++k) bounds.add(part.x[k], part.y[k]);
    const double kLegendWidth = std::min(230.0, width * 0.42);
    const double mapWidth = std::max(10.0, width - kLegendWidth - 3 * kMargin);
    const Projection project = fit(bounds, kMargin, kMargin + kTitleHeight, mapWidth,
                                   std::max(10.0, height - 2 * kMargin - kTitleHeight));

    // The predicted date text of every region, by one pass over the used positions.
    const int species = chosenSpecies(run, choice);
    std::vector<std::string> predictedText(static_cast<std::size_t>(regions), "-");
    if (species >= 0 && static_cast<std::size_t>(species) < run.species.size()) {
        const engine::SpeciesOutcome& row = run.species[static_cast<std::size_t>(species)];
        for (std::size_t p = 0; p < run.regno.size() && p < run.score.size(); ++p)
            if (run.regno[p] >= 0 && run.regno[p] < regions)
                predictedText[static_cast<std::size_t>(run.regno[p])] =
                    p < row.predicted.size() ? trimmed(strnum(row.predicted[p])) : "Unpredictable";
    }
    const std::string valueName = valueTitle(run, choice);
    for (int k = 0; k < regions; ++k) {
        const VectorObject& object = data.objects[static_cast<std::size_t>(k)];
        const auto role = static_cast<std::size_t>(k) < run.role.size() ? run.role[static_cast<std::size_t>(k)]
                                                                        : RegionRole::Other;
        std::string tip = object.name;
        const std::string actual =
            static_cast<std::size_t>(k) < run.actualText.size() ? run.actualText[static_cast<std::size_t>(k)] : "";
        tip += "\nactual date: " + (actual.empty() ? std::string("-") : actual);
        tip += "\npredicted date: " + predictedText[static_cast<std::size_t>(k)];
        if (!run.role.empty()) tip += "\n" + roleName(role);
        if (choice.colouring != MapColouring::PredictedDate && values[static_cast<std::size_t>(k)])
            tip += "\n" + valueName + ": " + trimmed(strnum(*values[static_cast<std::size_t>(k)]));

        const Rgb fill = colourOf(values[static_cast<std::size_t>(k)]);
        if (object.type == "point") {
            if (object.parts.empty() || object.parts[0].x.empty()) continue;
            Marker m;
            m.at = project(object.parts[0].x[0], object.parts[0].y[0]);
            m.kind = MarkerKind::Circle;
            m.size = 11;
            m.fill = fill;
            m.stroke = outlineOf(role);
            m.region = k;
            m.tip = tip;
            scene.content.markers.push_back(std::move(m));
            continue;
        }
        Shape shape;
        shape.closed = object.type != "line";
        for (const auto& part : object.parts) {
            std::vector<Point> ring;
            for (std::size_t n = 0; n < part.x.size() && n < part.y.size(); ++n)
                ring.push_back(project(part.x[n], part.y[n]));
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
        scene.content.shapes.push_back(std::move(shape));
    }

    // Title
    scene.overlay.labels.push_back({{kMargin, kMargin + 14}, valueTitle(run, choice), 16, TextAnchor::Start, kBlack});

    // Legend: colour bar with ticks, then the outline styles.
    const double lx = width - kLegendWidth - kMargin;
    double y = kMargin + kTitleHeight;
    scene.overlay.labels.push_back({{lx, y + 12}, valueTitle(run, choice), 12, TextAnchor::Start, kBlack});
    y += 22;
    const double barHeight = std::min(220.0, std::max(60.0, height * 0.35));
    if (anyValue) {
        for (int i = 0; i < kBarSteps; ++i) {
            const double top = y + barHeight * i / kBarSteps, bottom = y + barHeight * (i + 1) / kBarSteps;
            Shape cell;
            cell.rings = {{{lx, top}, {lx + 22, top}, {lx + 22, bottom + 0.5}, {lx, bottom + 0.5}}};
            cell.fill = viridis(1.0 - (i + 0.5) / kBarSteps);  // high values at the top
            scene.overlay.shapes.push_back(std::move(cell));
        }
        Shape frame;
        frame.rings = {{{lx, y}, {lx + 22, y}, {lx + 22, y + barHeight}, {lx, y + barHeight}}};
        frame.stroke = Stroke{kBlack, 1, Dash::Solid};
        scene.overlay.shapes.push_back(std::move(frame));
        for (double t : niceTicks(low, high, 5)) {
            if (t < low || t > high) continue;
            const double ty = high > low ? y + barHeight * (high - t) / (high - low) : y + barHeight / 2;
            Shape tick;
            tick.closed = false;
            tick.rings = {{{lx + 22, ty}, {lx + 27, ty}}};
            tick.stroke = Stroke{kBlack, 1, Dash::Solid};
            scene.overlay.shapes.push_back(std::move(tick));
            scene.overlay.labels.push_back({{lx + 31, ty + 4}, shortNumber(t), 11, TextAnchor::Start, kBlack});
        }
    } else {
        scene.overlay.labels.push_back({{lx, y + 12}, "no values in the last run", 11, TextAnchor::Start, kGrey});
    }
    y += barHeight + 24;

    auto legendEntry = [&](const std::string& text, Stroke stroke, bool hatched, Rgb fill) {
        Shape swatch;
        swatch.rings = {{{lx, y}, {lx + 22, y}, {lx + 22, y + 14}, {lx, y + 14}}};
        swatch.fill = fill;
        swatch.stroke = stroke;
        swatch.hatched = hatched;
        scene.overlay.shapes.push_back(std::move(swatch));
        scene.overlay.labels.push_back({{lx + 30, y + 11}, text, 11, TextAnchor::Start, kBlack});
        y += 22;
    };
    legendEntry("no value", Stroke{kGrey, 1, Dash::Solid}, false, kNoValue);
    legendEntry("training: solid outline", outlineOf(RegionRole::Training), false, {255, 255, 255});
    legendEntry("validation: thick dashed outline", outlineOf(RegionRole::Validation), false, {255, 255, 255});
    legendEntry("no target date: thin grey outline", outlineOf(RegionRole::Other), false, {255, 255, 255});
    legendEntry("excluded: hatched, dotted outline", outlineOf(RegionRole::Excluded), true, {255, 255, 255});
    return scene;
}

}  // namespace el::figures
