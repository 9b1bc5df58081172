#include "figures/weight_grid.hpp"

#include <algorithm>
#include <cmath>

#include "base/numtext.hpp"
#include "figures/axis_ticks.hpp"
#include "figures/colour.hpp"
#include "figures/plot_frame.hpp"

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

Scene buildWeightGridPlot(const WeightGrid& grid, GridMeasure measure, double width, double height) {
    Scene scene;
    scene.width = width;
    scene.height = height;
    const auto& values = grid.values(measure);
    scene.overlay.labels.push_back({{16, 26},
                                    std::string("Correlation (") + measureName(measure) + ") over the power grid" +
                                        (grid.target.empty() ? "" : ": " + grid.target),
                                    16, TextAnchor::Start, kBlack});
    double low = 1, high = -1;
    for (const auto& v : values)
        if (v) low = std::min(low, *v), high = std::max(high, *v);
    const double side = std::min(width - 80 - 150, height - 44 - 60);
    const PlotFrame frame = drawAxes(scene.overlay, 80, 44, side, side, 0, 20, 0, 20,
                                     "power for number of samples (p2)", "power for similarity (p1)");
    const double cell = side / WeightGrid::kSide;
    for (int i = 0; i < WeightGrid::kSide; ++i)
        for (int j = 0; j < WeightGrid::kSide; ++j) {
            const auto& v = values[static_cast<std::size_t>(i) * WeightGrid::kSide + static_cast<std::size_t>(j)];
            if (!v) continue;
            const Point corner = frame.at(j / 10.0, (i + 1) / 10.0);
            Shape s;
            s.rings = {{corner, {corner.x + cell + 0.3, corner.y}, {corner.x + cell + 0.3, corner.y + cell + 0.3},
                        {corner.x, corner.y + cell + 0.3}}};
            s.fill = viridis(high > low ? (*v - low) / (high - low) : 0.5);
            scene.content.shapes.push_back(std::move(s));
        }
    if (const auto best = bestPair(grid, measure)) {
        Marker m;
        m.at = frame.at(best->p2 + 0.05, best->p1 + 0.05);
        m.kind = MarkerKind::Cross;
        m.size = 16;
        m.stroke = Stroke{{255, 0, 0}, 2.5, Dash::Solid};
        m.tip = "best pair: p1 = " + shortNumber(best->p1) + ", p2 = " + shortNumber(best->p2) +
                ", r = " + shortNumber(best->value);
        scene.content.markers.push_back(m);
        scene.overlay.labels.push_back({{80 + side + 20, 44 + side}, "x best:", 12, TextAnchor::Start, kBlack});
        scene.overlay.labels.push_back({{80 + side + 20, 44 + side + 18},
                                        "p1 " + shortNumber(best->p1) + ", p2 " + shortNumber(best->p2), 12,
                                        TextAnchor::Start, kBlack});
        scene.overlay.labels.push_back(
            {{80 + side + 20, 44 + side + 36}, "r = " + shortNumber(best->value), 12, TextAnchor::Start, kBlack});
    } else {
        scene.overlay.labels.push_back({{100, 80}, "no computable coefficient", 12, TextAnchor::Start, kGrey});
    }
    if (high >= low) {  // colour bar
        const double bx = 80 + side + 20, barHeight = side * 0.6;
        for (int i = 0; i < 64; ++i) {
            Shape s;
            const double top = 44 + barHeight * i / 64, bottom = 44 + barHeight * (i + 1) / 64 + 0.5;
            s.rings = {{{bx, top}, {bx + 20, top}, {bx + 20, bottom}, {bx, bottom}}};
            s.fill = viridis(1 - (i + 0.5) / 64);
            scene.overlay.shapes.push_back(std::move(s));
        }
        scene.overlay.labels.push_back({{bx + 26, 54}, shortNumber(high), 11, TextAnchor::Start, kBlack});
        scene.overlay.labels.push_back({{bx + 26, 44 + barHeight}, shortNumber(low), 11, TextAnchor::Start, kBlack});
    }
    return scene;
}

}  // namespace el::figures
