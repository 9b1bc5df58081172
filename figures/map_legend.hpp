#pragma once
// The pieces of the map's legend: the colour bar of the values under its title, and the
// outline styles of the region roles. Each is laid out to a given width and tells how tall
// it came out.

#include <optional>
#include <string>

#include "engine/run/engine.hpp"
#include "figures/scene.hpp"

namespace el::figures {

struct ValueRange {
    double low = 0, high = 0;
};

Stroke outlineOf(engine::RegionRole role);

// The title, then a vertical bar `barHeight` tall with ticks (high values at the top), or a
// note when there are no values. Returns the y below it.
double colourLegend(Layer& layer, double x, double top, double width, double barHeight, const std::string& title,
                    const std::optional<ValueRange>& range);

// The key of a known-and-forecast map: the recorded and the forecast style, and the mark of
// an overdue region when the target has a latest date. The key of a risk map (reachedBy
// given): the style of the regions reached by then, alone.
struct StyleLegend {
    std::optional<double> latestDate;
    std::optional<double> reachedBy = std::nullopt;
};

// One swatch and text per value style and the overdue mark; returns the y below the last.
double styleLegend(Layer& layer, double x, double top, double width, const StyleLegend& legend);

// What the outlines' key lists: the swatch of a region without a value, and the outline of
// every region role. A risk map draws every region in one outline, so its key lists no roles.
struct OutlineKey {
    bool noValue = true;
    bool roles = true;
};

// One swatch and text per outline style of `key`; returns the y below the last (`top` when
// the key lists nothing).
double outlineLegend(Layer& layer, double x, double top, double width, const OutlineKey& key = {});

}  // namespace el::figures
