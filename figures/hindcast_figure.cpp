#include "figures/hindcast_figure.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "figures/axis_ticks.hpp"
#include "figures/colour.hpp"
#include "figures/layer_move.hpp"
#include "figures/plot_frame.hpp"
#include "figures/text_fit.hpp"

namespace el::figures {
namespace {

constexpr double kStrip = 28;                       // the not-reached strip above the plot
constexpr double kLegendWidth = 240;
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

// The legend from `top` down in `width`; returns the y below it.
double legend(Layer& layer, const engine::HindcastYear& year, double left, double width, double top) {
    const engine::HindcastFigures& f = year.figures;
    LegendColumn column(layer, left, width, top);
    column.add("reached later: " + std::to_string(f.reachedLater) + " regions", mark({}, true, -1, ""));
    column.add("not reached: " + std::to_string(f.notReached) + " regions", mark({}, false, -1, ""));
    column.add("forecast = record", kRecordLine);
    column.add("forecast: AUC " + figureText(f.auc) + ", Spearman " + figureText(f.spearman));
    column.add("mean error " + (f.mae ? meanErrorText(*f.mae) + " years" : std::string("n/a")));
    column.add("distance: AUC " + figureText(f.distanceAuc) + ", Spearman " + figureText(f.distanceSpearman));
    return column.bottom();
}

std::string tipOf(const HindcastRegion& r, const std::vector<std::string>& names) {
    const auto at = static_cast<std::size_t>(r.region);
    std::string tip = at < names.size() ? names[at] : "";
    tip += "\npredicted date: " + shortNumber(*r.predicted);
    if (r.recorded) tip += "\nrecorded date: " + shortNumber(*r.recorded);
    return tip;
}

void drawPoints(Scene& scene, const engine::HindcastYear& year, const std::vector<std::string>& names, double left,
                double top, double side) {
    Range x, y;
    for (const HindcastRegion& r : year.regions) {
        x.add(*r.predicted);
        if (r.recorded) y.add(*r.recorded);
    }
    y.add(year.year);
    const PlotFrame frame = drawAxes(scene.overlay, left, top + kStrip, side, side, x.low - x.pad(), x.high + x.pad(),
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
    const double side = placeSquarePlot(scene.overlay, width, height, top, kStrip, kLegendWidth,
                                        [&](Layer& layer, double left, double legendWidth, double legendTop) {
                                            return legend(layer, year, left, legendWidth, legendTop);
                                        });
    drawPoints(scene, year, regionNames, kPlotMargin + kAxisLeft, top, side);
    return scene;
}

}  // namespace el::figures
