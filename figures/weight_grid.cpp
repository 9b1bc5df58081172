#include "figures/weight_grid.hpp"

#include <algorithm>
#include <cmath>

#include "base/numtext.hpp"
#include "figures/axis_ticks.hpp"
#include "figures/colour.hpp"
#include "figures/plot_frame.hpp"
#include "figures/text_fit.hpp"

namespace el::figures {
namespace {

constexpr std::size_t kCells = static_cast<std::size_t>(WeightGrid::kSide) * WeightGrid::kSide;

std::optional<int> stepOf(double power) {
    const double step = std::round(power * 10);
    if (!(step >= 0 && step < WeightGrid::kSide) || std::fabs(power * 10 - step) > 1e-6) return std::nullopt;
    return static_cast<int>(step);
}

std::optional<double> coefficient(double r) {
    if (r == engine::kNotComputable) return std::nullopt;
    return r;
}

const char* measureName(GridMeasure m) {
    switch (m) {
    case GridMeasure::Training: return "training";
    case GridMeasure::Validation: return "validation";
    case GridMeasure::Whole: return "training & validation";
    }
    return "";
}

}  // namespace

WeightGrid::WeightGrid() : training(kCells), validation(kCells), whole(kCells) {}

const std::vector<std::optional<double>>& WeightGrid::values(GridMeasure m) const {
    return m == GridMeasure::Training ? training : m == GridMeasure::Validation ? validation : whole;
}

WeightGrid weightGridOf(const engine::RunResult& run) {
    WeightGrid grid;
    for (const engine::WeightGridCell& pass : run.weightGrid) {
        const auto i = stepOf(pass.p1), j = stepOf(pass.p2);
        if (!i || !j) continue;
        const std::size_t cell = static_cast<std::size_t>(*i) * WeightGrid::kSide + static_cast<std::size_t>(*j);
        grid.training[cell] = coefficient(pass.rt);
        grid.validation[cell] = coefficient(pass.rv);
        grid.whole[cell] = coefficient(pass.rw);
        ++grid.lines;
    }
    if (grid.lines > 0 && run.target >= 0 && static_cast<std::size_t>(run.target) < run.speciesNames.size())
        grid.target = run.speciesNames[static_cast<std::size_t>(run.target)];
    return grid;
}

std::optional<BestPair> bestPair(const WeightGrid& grid, GridMeasure measure) {
    const auto& values = grid.values(measure);
    std::optional<BestPair> best;
    for (std::size_t cell = 0; cell < values.size(); ++cell) {
        if (!values[cell] || (best && *values[cell] <= best->value)) continue;  // first of equal values wins
        best = BestPair{static_cast<double>(cell / WeightGrid::kSide) / 10,
                        static_cast<double>(cell % WeightGrid::kSide) / 10, *values[cell]};
    }
    return best;
}

namespace {

constexpr double kKeyHeight = 64;                  // colour bar and best pair under the plot

void gridCells(Layer& layer, const std::vector<std::optional<double>>& values, const PlotFrame& frame, double low,
               double high) {
    const double cell = frame.width / WeightGrid::kSide;
    for (int i = 0; i < WeightGrid::kSide; ++i)
        for (int j = 0; j < WeightGrid::kSide; ++j) {
            const auto& v = values[static_cast<std::size_t>(i) * WeightGrid::kSide + static_cast<std::size_t>(j)];
            if (!v) continue;
            const Point corner = frame.at(j / 10.0, (i + 1) / 10.0);
            Shape s = box(corner.x, corner.y, corner.x + cell + 0.3, corner.y + cell + 0.3);
            s.fill = viridis(high > low ? (*v - low) / (high - low) : 0.5);
            layer.shapes.push_back(std::move(s));
        }
}

// A horizontal colour bar from `low` to `high` and the best pair beside it, from `top` down.
void gridKey(Layer& layer, double left, double top, double width, double low, double high,
             const std::optional<BestPair>& best) {
    const double barWidth = std::min(160.0, width * 0.4);
    if (high >= low) {
        for (int i = 0; i < 64; ++i) {
            const double x0 = left + barWidth * i / 64, x1 = left + barWidth * (i + 1) / 64 + 0.5;
            Shape s = box(x0, top, x1, top + 14);
            s.fill = viridis((i + 0.5) / 64);
            layer.shapes.push_back(std::move(s));
        }
        layer.labels.push_back({{left, top + 28}, shortNumber(low), 11, TextAnchor::Start, kBlack});
        layer.labels.push_back({{left + barWidth, top + 28}, shortNumber(high), 11, TextAnchor::End, kBlack});
    }
    const double textLeft = left + barWidth + 36, textWidth = std::max(40.0, width - barWidth - 36);
    if (best) layer.markers.push_back({{textLeft - 12, top + 7}, MarkerKind::Cross, 12, std::nullopt,
                                       Stroke{{255, 0, 0}, 2.5, Dash::Solid}, -1, ""});
    const std::string text = best ? "best pair: p1 " + shortNumber(best->p1) + ", p2 " + shortNumber(best->p2) +
                                        ", r = " + shortNumber(best->value)
                                  : std::string("no computable coefficient");
    placeText(layer, fitText(text, textWidth, 12, 9), textLeft, top, TextAnchor::Start, best ? kBlack : kGrey);
}

}  // namespace

Scene buildWeightGridPlot(const WeightGrid& grid, GridMeasure measure, double width, double height) {
    Scene scene;
    scene.width = width;
    scene.height = height;
    const auto& values = grid.values(measure);
    const std::string title = std::string("Correlation (") + measureName(measure) + ") over the power grid" +
                              (grid.target.empty() ? "" : ": " + grid.target);
    const double top = placeTitle(scene.overlay, title, width) + 10;
    double low = 1, high = -1;
    for (const auto& v : values)
        if (v) low = std::min(low, *v), high = std::max(high, *v);
    const double side = std::max(20.0, std::min(width - kAxisLeft - 2 * kPlotMargin,
                                                height - top - kAxisBottom - kKeyHeight - kPlotMargin));
    const PlotFrame frame = drawAxes(scene.overlay, kPlotMargin + kAxisLeft, top, side, side, 0, 20, 0, 20,
                                     "power for number of samples (p2)", "power for similarity (p1)");
    gridCells(scene.content, values, frame, low, high);
    const auto best = bestPair(grid, measure);
    if (best) {
        Marker m;
        m.at = frame.at(best->p2 + 0.05, best->p1 + 0.05);
        m.kind = MarkerKind::Cross;
        m.size = 16;
        m.stroke = Stroke{{255, 0, 0}, 2.5, Dash::Solid};
        m.tip = "best pair: p1 = " + shortNumber(best->p1) + ", p2 = " + shortNumber(best->p2) +
                ", r = " + shortNumber(best->value);
        scene.content.markers.push_back(m);
    }
    gridKey(scene.overlay, kPlotMargin, top + side + kAxisBottom, width - 2 * kPlotMargin, low, high, best);
    return scene;
}

}  // namespace el::figures
