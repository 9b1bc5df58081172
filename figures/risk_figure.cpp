#include "figures/risk_figure.hpp"

#include <cmath>

#include "figures/axis_ticks.hpp"
#include "figures/colour.hpp"
#include "figures/plot_frame.hpp"

namespace el::figures {
namespace {

constexpr double kLegendWidth = 240;
constexpr Stroke kAgreeLine{kGrey, 1.5, Dash::Dashed};
constexpr Stroke kBinLine{{0, 114, 178}, 1.5, Dash::Solid};
constexpr Rgb kBinColour{0, 114, 178};

Marker binPoint(Point at, std::string tip) { return scatterPoint(at, 10, kBinColour, std::move(tip)); }

double legend(Layer& layer, const engine::CheckFigures& figures, double left, double width, double top) {
    LegendColumn column(layer, left, width, top);
    column.add(std::to_string(figures.reliability.size()) + " groups of " + std::to_string(figures.regions) +
                   " regions by risk",
               binPoint({}, ""));
    column.add("risk = share reached", kAgreeLine);
    return column.bottom();
}

}  // namespace

// A no-break space keeps the figure and its sign together in a narrow table column.
std::string riskPercent(double share) { return shortNumber(std::round(share * 1000) / 10) + "\u00A0%"; }

Scene buildReliabilityPlot(const engine::CheckFigures& figures, const std::string& period, double width,
                           double height) {
    Scene scene;
    scene.width = width;
    scene.height = height;
    const PlotFrame frame = placeShareSquare(
        scene, "Checked on " + period + ": risk against what happened", kLegendWidth,
        [&](Layer& layer, double left, double legendWidth, double legendTop) {
            return legend(layer, figures, left, legendWidth, legendTop);
        },
        "mean risk of the group", "share of its regions with a first record", kAgreeLine);
    Shape line;
    line.closed = false;
    line.stroke = kBinLine;
    line.rings.emplace_back();
    for (const engine::ReliabilityBin& bin : figures.reliability) {
        const Point at = frame.at(bin.meanRisk, bin.observed);
        line.rings.front().push_back(at);
        scene.content.markers.push_back(binPoint(at, std::to_string(bin.regions) + " regions, risk " +
                                                         riskPercent(bin.lowest) + " to " + riskPercent(bin.highest) +
                                                         "\nmean risk " + riskPercent(bin.meanRisk) + ", reached " +
                                                         riskPercent(bin.observed)));
    }
    if (line.rings.front().size() > 1) scene.content.shapes.push_back(std::move(line));
    return scene;
}

}  // namespace el::figures
