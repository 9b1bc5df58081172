#include "figures/fit_figure.hpp"

#include <cmath>

#include "figures/axis_ticks.hpp"
#include "figures/colour.hpp"
#include "figures/layer_move.hpp"
#include "figures/plot_frame.hpp"

namespace el::figures {
namespace {

constexpr double kLegendWidth = 230;                // beside the plot
constexpr Stroke kFittedLine{kBlack, 1.5, Dash::Solid};

std::string coefficient(double r) {
    if (r == -10 || !std::isfinite(r)) return "n/a";
    return logNumber(std::round(r * 1000) / 1000);
}

struct PlotPoint {
    double predicted, actual;
    bool validation;
    int region;
};

// The used regions with an actual date of the target, at their predicted and actual dates.
std::vector<PlotPoint> plotPoints(const engine::RunResult& run, const engine::SpeciesOutcome& target) {
    std::vector<PlotPoint> points;
    for (std::size_t p = 0; p < run.regno.size() && p < target.predicted.size(); ++p) {
        const int k = run.regno[p];
        const auto at = static_cast<std::size_t>(k);
        if (k < 0 || at >= run.actualDate.size() || !run.actualDate[at]) continue;
        const bool validation = at < run.role.size() && run.role[at] == engine::RegionRole::Validation;
        points.push_back({target.predicted[p], *run.actualDate[at], validation, k});
    }
    return points;
}

Marker pointMarker(Point at, bool validation) {
    Marker m;
    m.at = at;
    m.kind = validation ? MarkerKind::Triangle : MarkerKind::Circle;
    m.size = 10;
    m.fill = validation ? kValidationMark : kTrainingMark;
    m.stroke = Stroke{kBlack, 0.8, Dash::Solid};
    return m;
}

// The legend, one entry per line from `top` down, each text wrapped or shrunk to `width`;
// returns the y below it.
double fitLegend(Layer& layer, const engine::SpeciesFit& fit, double left, double width, double top) {
    LegendColumn column(layer, left, width, top);
    column.add("training regions: r = " + coefficient(fit.rt) + ", n = " + std::to_string(fit.nt), pointMarker({}, false));
    column.add("validation regions: r = " + coefficient(fit.rv) + ", n = " + std::to_string(fit.nv), pointMarker({}, true));
    column.add("fitted line: date = " + shortNumber(fit.a) + " x score " + (fit.b < 0 ? "- " : "+ ") +
                   shortNumber(std::fabs(fit.b)),
               kFittedLine);
    column.add("all regions: r = " + coefficient(fit.rw) + ", n = " + std::to_string(fit.nt + fit.nv));
    return column.bottom();
}

// A region's point, with its name and both dates as the hover text.
Marker regionMarker(const engine::RunResult& run, const PlotFrame& frame, const PlotPoint& p) {
    Marker m = pointMarker(frame.at(p.predicted, p.actual), p.validation);
    m.region = p.region;
    const auto at = static_cast<std::size_t>(p.region);
    m.tip = (at < run.regionNames.size() ? run.regionNames[at] : "") + "\nactual date: " + logNumber(p.actual) +
            "\npredicted date: " + logNumber(p.predicted);
    return m;
}

}  // namespace

Scene buildFitPlot(const engine::RunResult& run, double width, double height) {
    Scene scene;
    scene.width = width;
    scene.height = height;
    if (run.target < 0 || static_cast<std::size_t>(run.target) >= run.species.size()) {
        placeTitle(scene.overlay, "Fit plot: the last run had no target species", width);
        return scene;
    }
    const auto target = static_cast<std::size_t>(run.target);
    const engine::SpeciesFit& fit = run.species[target].fit;
    const double top = placeTitle(scene.overlay, "Actual against predicted date: " + run.speciesNames[target], width) + 12;
    if (!fit.predictable) {
        placeNote(scene.overlay, "The target species is not predictable: no fitted line", width, top);
        return scene;
    }
    const std::vector<PlotPoint> points = plotPoints(run, run.species[target]);

    const double side = placeSquarePlot(scene.overlay, width, height, top, 0, kLegendWidth,
                                        [&](Layer& layer, double left, double legendWidth, double legendTop) {
                                            return fitLegend(layer, fit, left, legendWidth, legendTop);
                                        });

    Range range;
    for (const PlotPoint& p : points) range.add(p.predicted), range.add(p.actual);
    if (points.empty()) range = {0, 1};
    const double low = range.low - range.pad(), high = range.high + range.pad();
    // Same range on both axes, so the diagonal, which is the fitted line, is the line of perfect prediction.
    const PlotFrame frame = drawAxes(scene.overlay, kPlotMargin + kAxisLeft, top, side, side, low, high, low, high,
                                     "Predicted date", "Actual date");

    addDiagonal(scene.content, frame, kFittedLine);
    for (const PlotPoint& p : points) scene.content.markers.push_back(regionMarker(run, frame, p));
    return scene;
}

}  // namespace el::figures
