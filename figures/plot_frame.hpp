#pragma once
// Axes for the x-y plots: a plot rectangle with ticks, tick labels and axis titles, and the
// mapping from data to pixels; and what the figures lay out alike around it: the title, a
// note in its place, a column of legend entries, the diagonal.

#include <algorithm>
#include <functional>
#include <limits>
#include <optional>
#include <string>

#include "figures/scene.hpp"

namespace el::figures {

// The room of an x-y plot: its margin, and the room its tick labels and axis titles take.
inline constexpr double kPlotMargin = 16;
inline constexpr double kAxisLeft = 64, kAxisBottom = 48;

struct PlotFrame {
    double left = 0, top = 0, width = 1, height = 1;  // the plot rectangle in pixels
    double x0 = 0, x1 = 1, y0 = 0, y1 = 1;            // the data range it shows

    Point at(double x, double y) const {
        return {left + (x - x0) / (x1 - x0) * width, top + height - (y - y0) / (y1 - y0) * height};
    }
};

// The span of the values added, and the pad an axis leaves on either side of it.
struct Range {
    double low = std::numeric_limits<double>::infinity(), high = -low;
    void add(double v) { low = std::min(low, v), high = std::max(high, v); }
    double pad() const { return std::max((high - low) * 0.05, 0.5); }
};

// Draws the frame's box, ticks and titles into `layer`; the ranges are widened to the ticks.
// A short frame takes fewer ticks on its y axis, so their labels keep apart.
PlotFrame drawAxes(Layer& layer, double left, double top, double width, double height, double xLow, double xHigh,
                   double yLow, double yHigh, const std::string& xTitle, const std::string& yTitle);

// Draws a legend into `layer` from (left, top) within `width`; returns the y below it.
using LegendDrawer = std::function<double(Layer& layer, double left, double width, double top)>;

// The side of a square plot whose axes start `margin` from the left edge and which takes
// `above` more pixels above it (a strip) under the title ending at `top`. Its legend, `legendWidth`
// wide, stands beside it on a wide canvas and under it on a narrow one (the window's
// start-up tab), drawn into `overlay`.
double placeSquarePlot(Layer& overlay, double width, double height, double top, double above, double legendWidth,
                       const LegendDrawer& legend);

// A legend's entries one under another from (left, top) within `width`: each text fitted
// beside its sample, a marker or a short line (or none).
class LegendColumn {
public:
    LegendColumn(Layer& layer, double left, double width, double top) : layer_(layer), left_(left), width_(width), y_(top) {}
    void add(const std::string& text, Marker sample);  // the marker is moved to its place
    void add(const std::string& text, Stroke sample);
    void add(const std::string& text);
    double bottom() const { return y_; }  // the y below the last entry

private:
    void addEntry(const std::string& text, std::optional<Marker> marker, std::optional<Stroke> line);
    Layer& layer_;
    double left_, width_, y_;
};

// The line from the frame's lower left to its upper right, where a forecast equals the
// record when both axes show dates; nothing when the axes' ranges do not overlap.
void addDiagonal(Layer& layer, const PlotFrame& frame, Stroke stroke);

// A square plot of two shares (0 to 1 on both axes) on the whole of `scene`: the title, the
// legend beside or under it, the axes and the diagonal where the two agree. Returns the frame
// the points are drawn in.
PlotFrame placeShareSquare(Scene& scene, const std::string& title, double legendWidth, const LegendDrawer& legend,
                           const std::string& xTitle, const std::string& yTitle, Stroke diagonal);

// A point of a scatter plot: a circle of `size` filled with `fill`, thinly outlined in black,
// with its tooltip.
Marker scatterPoint(Point at, double size, Rgb fill, std::string tip);

// The figure's title at its top left, fitted to the canvas `width`; returns the y below it.
double placeTitle(Layer& layer, const std::string& title, double width);

// A grey note from `top` down (why a figure shows no plot), fitted to the canvas `width`;
// returns the y below it.
double placeNote(Layer& layer, const std::string& note, double width, double top);

}  // namespace el::figures
