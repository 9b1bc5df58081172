#pragma once
// Axes for the x-y plots: a plot rectangle with ticks, tick labels and axis titles, and the
// mapping from data to pixels.

#include <string>

#include "figures/scene.hpp"

namespace el::figures {

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

}  // namespace el::figures
