#include "figures/fit_figure.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/numtext.hpp"
#include "figures/axis_ticks.hpp"
#include "figures/colour.hpp"
#include "figures/plot_frame.hpp"

namespace el::figures {
namespace {

std::string coefficient(double r) {
    if (r == -10 || !std::isfinite(r)) return "n/a";
    const std::string text = strnum(std::round(r * 1000) / 1000);
    return text.substr(text.find_first_not_of(' '));
}

std::string number(double v) {
    const std::string text = strnum(v);
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? text : text.substr(first);
}

}  // namespace

Scene buildFitPlot(const engine::RunResult& run, double width, double height) {
    Scene scene;
    scene.width = width;
    scene.height = height;
    constexpr double left = 80, top = 44, legendHeight = 86;
    auto title = [&](const std::string& text) {
        scene.overlay.labels.push_back({{16, 26}, text, 16, TextAnchor::Start, kBlack});
    };
    if (run.target < 0 || static_cast<std::size_t>(run.target) >= run.species.size()) {
        title("Fit plot: the last run had no target species");
        return scene;
    }
    const auto target = static_cast<std::size_t>(run.target);
    const engine::SpeciesFit& fit = run.species[target].fit;
    title("Actual against predicted date: " + run.speciesNames[target]);
    if (!fit.predictable) {
        scene.overlay.labels.push_back(
            {{16, 52}, "The target species is not predictable: no fitted line", 12, TextAnchor::Start, kGrey});
        return scene;
    }

    struct Pt {
        double predicted, actual;
        bool validation;
        int region;
    };
    std::vector<Pt> points;
    for (std::size_t p = 0; p < run.regno.size() && p < run.score.size(); ++p) {
        const int k = run.regno[p];
        if (k < 0 || static_cast<std::size_t>(k) >= run.actualDate.size() || !run.actualDate[static_cast<std::size_t>(k)])
            continue;
        const bool validation = static_cast<std::size_t>(k) < run.role.size() &&
                                run.role[static_cast<std::size_t>(k)] == engine::RegionRole::Validation;
        points.push_back({fit.a * run.score[p] + fit.b, *run.actualDate[static_cast<std::size_t>(k)], validation, k});
    }
    double low = std::numeric_limits<double>::infinity(), high = -low;
    for (const Pt& p : points) low = std::min({low, p.predicted, p.actual}), high = std::max({high, p.predicted, p.actual});
    if (points.empty()) low = 0, high = 1;
    const double pad = std::max((high - low) * 0.05, 0.5);
    // Same range on both axes, so the diagonal is the line of perfect prediction.
    const PlotFrame frame = drawAxes(scene.overlay, left, top, width - left - 24, height - top - 60 - legendHeight,
                                     low - pad, high + pad, low - pad, high + pad, "Predicted date",
                                     "Actual date");

    Shape line;
    line.closed = false;
    const double from = std::max(frame.x0, frame.y0), to = std::min(frame.x1, frame.y1);
    line.rings = {{frame.at(from, from), frame.at(to, to)}};
    line.stroke = Stroke{kBlack, 1.5, Dash::Solid};
    scene.content.shapes.push_back(std::move(line));

    for (const Pt& p : points) {
        Marker m;
        m.at = frame.at(p.predicted, p.actual);
        m.kind = p.validation ? MarkerKind::Triangle : MarkerKind::Circle;
        m.size = 10;
        m.fill = p.validation ? kValidationMark : kTrainingMark;
        m.stroke = Stroke{kBlack, 0.8, Dash::Solid};
        m.region = p.region;
        m.tip = (static_cast<std::size_t>(p.region) < run.regionNames.size() ? run.regionNames[static_cast<std::size_t>(p.region)] : "") +
                "\nactual date: " + number(p.actual) + "\npredicted date: " + number(p.predicted);
        scene.content.markers.push_back(std::move(m));
    }

    // Legend below the plot.
    double y = height - legendHeight + 4;
    auto entry = [&](std::optional<MarkerKind> kind, Rgb colour, const std::string& text) {
        if (kind) {
            Marker m;
            m.at = {left + 8, y - 4};
            m.kind = *kind;
            m.size = 10;
            m.fill = colour;
            m.stroke = Stroke{kBlack, 0.8, Dash::Solid};
            scene.overlay.markers.push_back(m);
        } else {
            Shape s;
            s.closed = false;
            s.rings = {{{left, y - 4}, {left + 18, y - 4}}};
            s.stroke = Stroke{kBlack, 1.5, Dash::Solid};
            scene.overlay.shapes.push_back(std::move(s));
        }
        scene.overlay.labels.push_back({{left + 26, y}, text, 12, TextAnchor::Start, kBlack});
        y += 20;
    };
    entry(MarkerKind::Circle, kTrainingMark,
          "training regions: r = " + coefficient(fit.rt) + ", n = " + std::to_string(fit.nt));
    entry(MarkerKind::Triangle, kValidationMark,
          "validation regions: r = " + coefficient(fit.rv) + ", n = " + std::to_string(fit.nv));
    entry(std::nullopt, kBlack,
          "fitted line: date = " + shortNumber(fit.a) + " x score " + (fit.b < 0 ? "- " : "+ ") +
              shortNumber(std::fabs(fit.b)) +
              "; all regions r = " + coefficient(fit.rw) + ", n = " + std::to_string(fit.nt + fit.nv));
    return scene;
}

}  // namespace el::figures
