#include "figures/hindcast_figure.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "figures/axis_ticks.hpp"
#include "figures/colour.hpp"
#include "figures/font_text.hpp"
#include "figures/layer_move.hpp"
#include "figures/plot_frame.hpp"
#include "figures/text_fit.hpp"

namespace el::figures {
namespace {

constexpr double kStrip = 28;                       // the not-reached strip above the plot
constexpr double kLegendWidth = 240;
constexpr double kRoomyWidth = 560;   // from here on the legend stands beside the plot
constexpr double kSmallestPlot = 72;  // the plot's least width and height
constexpr Stroke kRecordLine{kGrey, 1.5, Dash::Dashed};  // forecast = record

using engine::HindcastClass;
using engine::HindcastRegion;

Marker mark(Point at, bool later, int region, std::string tip) {
    Marker m;
    m.at = at;
    m.kind = later ? MarkerKind::Circle : MarkerKind::Cross;
    m.size = 10;
    m.fill = later ? std::optional<Rgb>(kTrainingMark) : std::nullopt;
    m.stroke = Stroke{later ? kBlack : kValidationMark, later ? 0.8 : 1.6, Dash::Solid};
    m.region = region;
    m.tip = std::move(tip);
    return m;
}

// One entry of the legend: a marker, a short line or no sample, and its text.
struct LegendEntry {
    std::string text;
    std::optional<Marker> marker;
    std::optional<Stroke> line;
};

std::vector<LegendEntry> legendEntries(const engine::HindcastYear& year) {
    const engine::HindcastFigures& f = year.figures;
    return {{"reached later: " + std::to_string(f.reachedLater) + " regions", mark({}, true, -1, ""), std::nullopt},
            {"not reached: " + std::to_string(f.notReached) + " regions", mark({}, false, -1, ""), std::nullopt},
            {"forecast = record", std::nullopt, kRecordLine},
            {"forecast: AUC " + figureText(f.auc) + ", Spearman " + figureText(f.spearman), std::nullopt, std::nullopt},
            {"mean error " + (f.mae ? meanErrorText(*f.mae) + " years" : std::string("n/a")), std::nullopt, std::nullopt},
            {"distance: AUC " + figureText(f.distanceAuc) + ", Spearman " + figureText(f.distanceSpearman), std::nullopt,
             std::nullopt}};
}

// The legend from `top` down in `width`, one entry under another; returns the y below it.
double legendColumn(Layer& layer, const engine::HindcastYear& year, double left, double width, double top) {
    LegendColumn column(layer, left, width, top);
    for (LegendEntry& e : legendEntries(year)) {
        if (e.marker) column.add(e.text, std::move(*e.marker));
        else if (e.line) column.add(e.text, *e.line);
        else column.add(e.text);
    }
    return column.bottom();
}

// The legend from `top` down in `width`, its entries side by side while they fit (a small
// canvas: the window's start-up tab); returns the y below it.
double legendRows(Layer& layer, const engine::HindcastYear& year, double left, double width, double top) {
    constexpr double kSize = 10, kSample = 22, kGap = 14;
    double x = left, y = top, rowHeight = 0;
    for (LegendEntry& e : legendEntries(year)) {
        const double sample = e.marker || e.line ? kSample : 0;
        const FittedText text = fitText(e.text, width - sample, kSize, 8);
        const double entryWidth = sample + textWidth(text.lines.front(), text.size);
        if (x > left && x + entryWidth > left + width) x = left, y += rowHeight + 3, rowHeight = 0;
        const double middle = y + text.size * 0.6;
        if (e.marker) {
            e.marker->at = {x + 7, middle};
            layer.markers.push_back(std::move(*e.marker));
        }
        if (e.line) layer.shapes.push_back(segment({x, middle}, {x + 16, middle}, *e.line));
        rowHeight = std::max(rowHeight, placeText(layer, text, x + sample, y, TextAnchor::Start, kBlack) - y);
        x += entryWidth + kGap;
    }
    return y + rowHeight;
}

std::string tipOf(const HindcastRegion& r, const std::vector<std::string>& names) {
    const auto at = static_cast<std::size_t>(r.region);
    std::string tip = at < names.size() ? names[at] : "";
    tip += "\npredicted date: " + shortNumber(*r.predicted);
    if (r.recorded) tip += "\nrecorded date: " + shortNumber(*r.recorded);
    return tip;
}

void drawPoints(Scene& scene, const engine::HindcastYear& year, const std::vector<std::string>& names, double left,
                double top, double plotWidth, double plotHeight) {
    Range x, y;
    for (const HindcastRegion& r : year.regions) {
        x.add(*r.predicted);
        if (r.recorded) y.add(*r.recorded);
    }
    y.add(year.year);
    const PlotFrame frame = drawAxes(scene.overlay, left, top + kStrip, plotWidth, plotHeight, x.low - x.pad(), x.high + x.pad(),
                                     y.low - y.pad(), y.high + y.pad(), "Predicted date", "Recorded date");
    placeText(scene.overlay, fitText("not reached", kAxisLeft - 4, 10, 7), left - 4, top + 6, TextAnchor::End, kGrey);
    addDiagonal(scene.content, frame, kRecordLine);
    for (const HindcastRegion& r : year.regions) {
        const bool later = r.kind == HindcastClass::ReachedLater;
        const Point at = later ? frame.at(*r.predicted, *r.recorded) : Point{frame.at(*r.predicted, frame.y1).x, top + kStrip / 2};
        scene.content.markers.push_back(mark(at, later, r.region, tipOf(r, names)));
    }
}

}  // namespace

std::string figureText(const std::optional<double>& value) {
    if (!value || !std::isfinite(*value)) return "n/a";
    char text[16];
    std::snprintf(text, sizeof text, "%.3f", *value);
    return text;
}

std::string meanErrorText(double years) { return shortNumber(std::round(years * 10) / 10); }

Scene buildHindcastPlot(const engine::HindcastYear& year, const std::vector<std::string>& regionNames, double width,
                        double height) {
    Scene scene;
    scene.width = width;
    scene.height = height;
    const std::string target = year.targetName.empty() ? "the target" : year.targetName;
    const double top =
        placeTitle(scene.overlay, "Hindcast of " + target + " from the data up to " + shortNumber(year.year), width) + 12;
    const bool predictable = !year.regions.empty() && std::all_of(year.regions.begin(), year.regions.end(),
                                                                   [](const HindcastRegion& r) { return r.predicted.has_value(); });
    if (!year.ran || !predictable) {
        const std::string why = !year.ran ? "The run stopped: " + year.error
                                          : year.regions.empty() ? "No region was reached after it or is known to be unreached"
                                                                 : "The target was not predictable from these data";
        placeNote(scene.overlay, why, width, top);
        return scene;
    }
    const double left = kPlotMargin + kAxisLeft;
    if (width >= kRoomyWidth && width >= 1.1 * height) {
        const double side = placeSquarePlot(scene.overlay, width, height, top, kStrip, kLegendWidth,
                                            [&](Layer& layer, double x, double legendWidth, double legendTop) {
                                                return legendColumn(layer, year, x, legendWidth, legendTop);
                                            });
        drawPoints(scene, year, regionNames, left, top, side, side);
        return scene;
    }
    // A small canvas: the legend in rows under the plot, which takes the room left, and never
    // less than a readable least; the legend then lies lower, not over the plot.
    Layer legend;
    const double legendHeight = legendRows(legend, year, kPlotMargin, width - 2 * kPlotMargin, 0);
    const double plotWidth = std::max(kSmallestPlot, width - left - kPlotMargin);
    const double plotHeight =
        std::max(kSmallestPlot, height - top - kStrip - kAxisBottom - legendHeight - kPlotMargin - 4);
    drawPoints(scene, year, regionNames, left, top, plotWidth, plotHeight);
    appendMoved(scene.overlay, std::move(legend), 0, top + kStrip + plotHeight + kAxisBottom + 4);
    scene.height = std::max(height, top + kStrip + plotHeight + kAxisBottom + 4 + legendHeight + kPlotMargin);
    return scene;
}

}  // namespace el::figures
