#pragma once
// Axes for the x-y plots: a plot rectangle with ticks, tick labels and axis titles, and the
// mapping from data to pixels.

#include <functional>
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

// Draws the frame's box, ticks and titles into `layer`; the ranges are widened to the ticks.
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

}  // namespace el::figures
