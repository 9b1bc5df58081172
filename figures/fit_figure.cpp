#include "figures/fit_figure.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "figures/axis_ticks.hpp"
#include "figures/colour.hpp"
#include "figures/layer_move.hpp"
#include "figures/plot_frame.hpp"
#include "figures/text_fit.hpp"

namespace el::figures {
namespace {

constexpr double kLegendWidth = 230;                // beside the plot

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
std::vector<PlotPoint> plotPoints(const engine::RunResult& run, const engine::SpeciesFit& fit) {
    std::vector<PlotPoint> points;
    for (std::size_t p = 0; p < run.regno.size() && p < run.score.size(); ++p) {
        const int k = run.regno[p];
        const auto at = static_cast<std::size_t>(k);
        if (k < 0 || at >= run.actualDate.size() || !run.actualDate[at]) continue;
        const bool validation = at < run.role.size() && run.role[at] == engine::RegionRole::Validation;
        points.push_back({fit.a * run.score[p] + fit.b, *run.actualDate[at], validation, k});
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
    double y = top;
    auto entry = [&](int symbol, const std::string& text) {  // 0 circle, 1 triangle, 2 line, 3 none
        const FittedText fitted = fitText(text, width - 26, 12, 9);
        const double middle = y + fitted.size * 0.6;
        if (symbol < 2) layer.markers.push_back(pointMarker({left + 8, middle}, symbol == 1));
        if (symbol == 2) layer.shapes.push_back(segment({left, middle}, {left + 18, middle}, {kBlack, 1.5, Dash::Solid}));
        y = placeText(layer, fitted, left + 26, y, TextAnchor::Start, kBlack) + 4;
    };
    entry(0, "training regions: r = " + coefficient(fit.rt) + ", n = " + std::to_string(fit.nt));
    entry(1, "validation regions: r = " + coefficient(fit.rv) + ", n = " + std::to_string(fit.nv));
    entry(2, "fitted line: date = " + shortNumber(fit.a) + " x score " + (fit.b < 0 ? "- " : "+ ") +
                 shortNumber(std::fabs(fit.b)));
    entry(3, "all regions: r = " + coefficient(fit.rw) + ", n = " + std::to_string(fit.nt + fit.nv));
    return y;
}

// The fitted line, which in these axes is the diagonal.
void addDiagonal(Layer& layer, const PlotFrame& frame) {
    const double from = std::max(frame.x0, frame.y0), to = std::min(frame.x1, frame.y1);
    layer.shapes.push_back(segment(frame.at(from, from), frame.at(to, to), {kBlack, 1.5, Dash::Solid}));
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
    auto title = [&](const std::string& text) {
        return placeText(scene.overlay, fitText(text, width - 2 * kPlotMargin, 16, 11), kPlotMargin, kPlotMargin, TextAnchor::Start,
                         kBlack);
    };
    if (run.target < 0 || static_cast<std::size_t>(run.target) >= run.species.size()) {
        title("Fit plot: the last run had no target species");
        return scene;
    }
    const auto target = static_cast<std::size_t>(run.target);
    const engine::SpeciesFit& fit = run.species[target].fit;
    const double top = title("Actual against predicted date: " + run.speciesNames[target]) + 12;
    if (!fit.predictable) {
        placeText(scene.overlay, fitText("The target species is not predictable: no fitted line", width - 2 * kPlotMargin, 12, 9),
                  kPlotMargin, top, TextAnchor::Start, kGrey);
        return scene;
    }
    const std::vector<PlotPoint> points = plotPoints(run, fit);

    const double side = placeSquarePlot(scene.overlay, width, height, top, 0, kLegendWidth,
                                        [&](Layer& layer, double left, double legendWidth, double legendTop) {
                                            return fitLegend(layer, fit, left, legendWidth, legendTop);
                                        });

    double low = std::numeric_limits<double>::infinity(), high = -low;
    for (const PlotPoint& p : points)
        low = std::min({low, p.predicted, p.actual}), high = std::max({high, p.predicted, p.actual});
    if (points.empty()) low = 0, high = 1;
    const double pad = std::max((high - low) * 0.05, 0.5);
    // Same range on both axes, so the diagonal is the line of perfect prediction.
    const PlotFrame frame = drawAxes(scene.overlay, kPlotMargin + kAxisLeft, top, side, side, low - pad, high + pad,
                                     low - pad, high + pad, "Predicted date", "Actual date");

    addDiagonal(scene.content, frame);
    for (const PlotPoint& p : points) scene.content.markers.push_back(regionMarker(run, frame, p));
    return scene;
}

}  // namespace el::figures
