#include "figures/map_legend.hpp"

#include <algorithm>

#include "figures/axis_ticks.hpp"
#include "figures/colour.hpp"
#include "figures/text_fit.hpp"

namespace el::figures {
namespace {

using engine::RegionRole;

constexpr int kBarSteps = 64;
constexpr double kBarWidth = 22;
constexpr double kSwatchHeight = 14;
constexpr Rgb kWhite{255, 255, 255};

void colourBar(Layer& layer, double x, double top, double barHeight, const ValueRange& range) {
    for (int i = 0; i < kBarSteps; ++i) {
        Shape cell = box(x, top + barHeight * i / kBarSteps, x + kBarWidth, top + barHeight * (i + 1) / kBarSteps + 0.5);
        cell.fill = viridis(1.0 - (i + 0.5) / kBarSteps);  // high values at the top
        layer.shapes.push_back(std::move(cell));
    }
    Shape frame = box(x, top, x + kBarWidth, top + barHeight);
    frame.stroke = Stroke{kBlack, 1, Dash::Solid};
    layer.shapes.push_back(std::move(frame));
    const double span = range.high - range.low;
    for (double t : niceTicks(range.low, range.high, std::clamp(static_cast<int>(barHeight / 40), 2, 5))) {
        if (t < range.low || t > range.high) continue;
        const double ty = span > 0 ? top + barHeight * (range.high - t) / span : top + barHeight / 2;
        layer.shapes.push_back(segment({x + kBarWidth, ty}, {x + kBarWidth + 5, ty}, {kBlack, 1, Dash::Solid}));
        layer.labels.push_back({{x + kBarWidth + 9, ty + 4}, shortNumber(t), 11, TextAnchor::Start, kBlack});
    }
}

}  // namespace

Stroke outlineOf(RegionRole role) {
    switch (role) {
    case RegionRole::Training: return {kBlack, 1.2, Dash::Solid};
    case RegionRole::Validation: return {kBlack, 2.4, Dash::Dashed};
    case RegionRole::Other: return {kGrey, 1.0, Dash::Solid};
    case RegionRole::Excluded: return {kGrey, 1.0, Dash::Dotted};
    }
    return {};
}

double colourLegend(Layer& layer, double x, double top, double width, double barHeight, const std::string& title,
                    const std::optional<ValueRange>& range) {
    double y = placeText(layer, fitText(title, width, 12, 9), x, top, TextAnchor::Start, kBlack) + 6;
    if (!range) return placeText(layer, fitText("no values in the last run", width, 11, 8), x, y, TextAnchor::Start, kGrey);
    colourBar(layer, x, y, barHeight, *range);
    return y + barHeight + 6;
}

double styleLegend(Layer& layer, double x, double top, double width, const StyleLegend& legend) {
    const Rgb sample = viridis(0.55);
    const double textLeft = kBarWidth + 8;
    double y = top;
    auto entry = [&](const std::string& text) {
        const FittedText fitted = fitText(text, std::max(20.0, width - textLeft), 11, 8.5);
        const double bottom = placeText(layer, fitted, x + textLeft, y + (kSwatchHeight - fitted.lineHeight()) / 2,
                                        TextAnchor::Start, kBlack);
        y = std::max(y + kSwatchHeight, bottom) + 7;
    };
    if (legend.reachedBy) {
        Shape reached = box(x, y, x + kBarWidth, y + kSwatchHeight);
        reached.fill = kReached;
        reached.hatched = true;
        reached.hatchColour = kReachedHatch;
        reached.stroke = Stroke{kBlack, 1, Dash::Solid};
        layer.shapes.push_back(std::move(reached));
        entry("reached by " + shortNumber(*legend.reachedBy) + ": grey, hatched");
        return y;
    }
    Shape solid = box(x, y, x + kBarWidth, y + kSwatchHeight);
    solid.fill = sample;
    solid.stroke = Stroke{kBlack, 1, Dash::Solid};
    layer.shapes.push_back(std::move(solid));
    entry("recorded date: solid fill (grey: arrived, no date)");
    Shape forecast = box(x, y, x + kBarWidth, y + kSwatchHeight);
    forecast.fill = paler(sample);
    forecast.hatched = true;
    forecast.hatchColour = sample;
    forecast.stroke = Stroke{kGrey, 1, Dash::Solid};
    layer.shapes.push_back(std::move(forecast));
    entry("forecast: predicted date, pale and hatched");
    if (!legend.latestDate) return y;
    layer.markers.push_back({{x + kBarWidth / 2, y + kSwatchHeight / 2}, MarkerKind::Circle, 14, std::nullopt,
                             {kOverdueMark, 2.4, Dash::Solid}, -1, {}});
    entry("overdue: not arrived, predicted by " + shortNumber(*legend.latestDate));
    return y;
}

double outlineLegend(Layer& layer, double x, double top, double width, const OutlineKey& key) {
    struct Entry {
        const char* text;
        Stroke stroke;
        bool hatched;
        Rgb fill;
    };
    const Entry entries[] = {
        {"no value", Stroke{kGrey, 1, Dash::Solid}, false, kNoValue},
        {"training: solid outline", outlineOf(RegionRole::Training), false, kWhite},
        {"validation: thick dashed outline", outlineOf(RegionRole::Validation), false, kWhite},
        {"no target date: thin grey outline", outlineOf(RegionRole::Other), false, kWhite},
        {"excluded: hatched, dotted outline", outlineOf(RegionRole::Excluded), true, kWhite},
    };
    const double textLeft = kBarWidth + 8;
    double y = top;
    for (const Entry& e : entries) {
        const bool noValueEntry = &e == &entries[0];
        if (!(noValueEntry ? key.noValue : key.roles)) continue;
        Shape swatch = box(x, y, x + kBarWidth, y + kSwatchHeight);
        swatch.fill = e.fill;
        swatch.stroke = e.stroke;
        swatch.hatched = e.hatched;
        layer.shapes.push_back(std::move(swatch));
        const FittedText text = fitText(e.text, std::max(20.0, width - textLeft), 11, 8.5);
        const double bottom = placeText(layer, text, x + textLeft, y + (kSwatchHeight - text.lineHeight()) / 2,
                                        TextAnchor::Start, kBlack);
        y = std::max(y + kSwatchHeight, bottom) + 7;
    }
    return y;
}

}  // namespace el::figures
