#include "figures/plot_frame.hpp"

#include <algorithm>

#include "figures/layer_move.hpp"

#include "figures/axis_ticks.hpp"
#include "figures/colour.hpp"
#include "figures/text_fit.hpp"

namespace el::figures {

PlotFrame drawAxes(Layer& layer, double left, double top, double width, double height, double xLow, double xHigh,
                   double yLow, double yHigh, const std::string& xTitle, const std::string& yTitle) {
    constexpr double kTickSpacing = 24;  // the least room a y tick label takes
    const int yTickCount = std::clamp(static_cast<int>(height / kTickSpacing), 2, 6);
    const auto xt = niceTicks(xLow, xHigh, 6), yt = niceTicks(yLow, yHigh, yTickCount);
    PlotFrame f{left, top, width, height, xLow, xHigh, yLow, yHigh};
    if (xt.size() >= 2) f.x0 = std::min(xLow, xt.front()), f.x1 = std::max(xHigh, xt.back());
    if (yt.size() >= 2) f.y0 = std::min(yLow, yt.front()), f.y1 = std::max(yHigh, yt.back());
    if (f.x1 <= f.x0) f.x0 -= 1, f.x1 += 1;
    if (f.y1 <= f.y0) f.y0 -= 1, f.y1 += 1;

    Shape outline = box(left, top, left + width, top + height);
    outline.stroke = Stroke{kBlack, 1, Dash::Solid};
    layer.shapes.push_back(std::move(outline));
    auto line = [&](Point a, Point b) { layer.shapes.push_back(segment(a, b, {kBlack, 1, Dash::Solid})); };
    for (double t : xt) {
        if (t < f.x0 || t > f.x1) continue;
        const Point p = f.at(t, f.y0);
        line(p, {p.x, p.y + 5});
        layer.labels.push_back({{p.x, p.y + 18}, shortNumber(t), 11, TextAnchor::Middle, kBlack});
    }
    for (double t : yt) {
        if (t < f.y0 || t > f.y1) continue;
        const Point p = f.at(f.x0, t);
        line({p.x - 5, p.y}, p);
        layer.labels.push_back({{p.x - 8, p.y + 4}, shortNumber(t), 11, TextAnchor::End, kBlack});
    }
    layer.labels.push_back({{left + width / 2, top + height + 38}, xTitle, 12, TextAnchor::Middle, kBlack});
    layer.labels.push_back({{left - 52, top + height / 2}, yTitle, 12, TextAnchor::Middle, kBlack, true});
    return f;
}

double placeSquarePlot(Layer& overlay, double width, double height, double top, double above, double legendWidth,
                       const LegendDrawer& legend) {
    constexpr double margin = kPlotMargin, axisLeft = kAxisLeft, axisBottom = kAxisBottom;
    double side = std::max(20.0, std::min(width - axisLeft - 3 * margin - legendWidth,
                                          height - top - above - axisBottom - margin));
    if (width >= 560 && width >= 1.1 * height) {
        const double x = 2 * margin + axisLeft + side;
        legend(overlay, x, width - x - margin, top);
        return side;
    }
    Layer below;
    const double legendHeight = legend(below, margin, width - 2 * margin, 0);
    appendMoved(overlay, std::move(below), 0, height - margin - legendHeight);
    return std::max(20.0, std::min(width - axisLeft - 2 * margin,
                                   height - top - above - axisBottom - legendHeight - 2 * margin));
}

void LegendColumn::add(const std::string& text, Marker sample) { addEntry(text, std::move(sample), std::nullopt); }

void LegendColumn::add(const std::string& text, Stroke sample) { addEntry(text, std::nullopt, sample); }

void LegendColumn::add(const std::string& text) { addEntry(text, std::nullopt, std::nullopt); }

void LegendColumn::addEntry(const std::string& text, std::optional<Marker> marker, std::optional<Stroke> line) {
    const FittedText fitted = fitText(text, width_ - 26, 12, 9);
    const double middle = y_ + fitted.size * 0.6;
    if (marker) {
        marker->at = {left_ + 8, middle};
        layer_.markers.push_back(std::move(*marker));
    }
    if (line) layer_.shapes.push_back(segment({left_, middle}, {left_ + 18, middle}, *line));
    y_ = placeText(layer_, fitted, left_ + 26, y_, TextAnchor::Start, kBlack) + 4;
}

void addDiagonal(Layer& layer, const PlotFrame& frame, Stroke stroke) {
    const double from = std::max(frame.x0, frame.y0), to = std::min(frame.x1, frame.y1);
    if (from < to) layer.shapes.push_back(segment(frame.at(from, from), frame.at(to, to), stroke));
}

PlotFrame placeShareSquare(Scene& scene, const std::string& title, double legendWidth, const LegendDrawer& legend,
                           const std::string& xTitle, const std::string& yTitle, Stroke diagonal) {
    const double top = placeTitle(scene.overlay, title, scene.width) + 12;
    const double side = placeSquarePlot(scene.overlay, scene.width, scene.height, top, 0, legendWidth, legend);
    const PlotFrame frame =
        drawAxes(scene.overlay, kPlotMargin + kAxisLeft, top, side, side, 0, 1, 0, 1, xTitle, yTitle);
    addDiagonal(scene.content, frame, diagonal);
    return frame;
}

Marker scatterPoint(Point at, double size, Rgb fill, std::string tip) {
    Marker m;
    m.at = at;
    m.kind = MarkerKind::Circle;
    m.size = size;
    m.fill = fill;
    m.stroke = Stroke{kBlack, 0.6, Dash::Solid};
    m.tip = std::move(tip);
    return m;
}

double placeTitle(Layer& layer, const std::string& title, double width) {
    return placeText(layer, fitText(title, width - 2 * kPlotMargin, 16, 11), kPlotMargin, kPlotMargin,
                     TextAnchor::Start, kBlack);
}

double placeNote(Layer& layer, const std::string& note, double width, double top) {
    return placeText(layer, fitText(note, width - 2 * kPlotMargin, 12, 9), kPlotMargin, top, TextAnchor::Start, kGrey);
}

}  // namespace el::figures
