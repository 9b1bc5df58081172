#pragma once
// The map: every region of the data set drawn from its own geometry, filled by a value of
// the last run on the viridis scale, its outline telling training, validation and excluded
// regions apart, with a legend and a colour bar laid out to fit the canvas. A map whose
// coordinates all lie within longitude/latitude bounds (and whose y is not said to grow
// downwards) is projected, by default in an equal-area projection centred on the regions
// (map_crs.hpp), with meridians and parallels labelled in degrees. The frame covers where
// the regions are (map_frame.hpp) unless the caller gives one; what lies outside it is
// clipped.

#include <optional>
#include <string>
#include <vector>

#include "engine/risk/risk_result.hpp"
#include "engine/run/engine.hpp"
#include "figures/map_projection.hpp"
#include "figures/scene.hpp"
#include "vector/vector_data.hpp"

namespace el::figures {

enum class MapColouring {
    PredictedDate,  // of one species
    RegionScore,
    ActualDate,  // of the target species
    // Of the target: the recorded date where it has arrived (solid fill), the predicted
    // date where it has not (pale, hatched), with a mark on the overdue regions. A map of
    // another species, or of a run without a target, shows the predicted dates instead.
    KnownAndForecast,
    // Of the target: the risk of a first record (in percent) in every region it had not
    // reached by the as-of year; the regions it had reached in one dark fill.
    Risk,
};

// How the value a region shows was come by: Plain on every map but the known-and-forecast
// one and the risk map (Reached: the target was there by the as-of year).
enum class ValueStyle : unsigned char { Plain, Recorded, Forecast, Reached };

struct MapChoice {
    MapColouring colouring = MapColouring::PredictedDate;
    int species = -1;  // for PredictedDate; -1: the target, else the first species
    const engine::RiskResult* risk = nullptr;  // for Risk: the target's risk (none: no values)
};

// How the map is drawn, whatever it is coloured by.
struct MapOptions {
    bool yDown = false;  // y grows downwards (screen or SVG coordinates): flip to show it the right way up
    std::optional<MapBounds> extent = std::nullopt;  // the frame in the data's units; nothing: where the regions are
    bool labels = false;              // region names at their centroids, where they fit
    // The coordinate system a longitude/latitude map is drawn in, as PROJ reads it; nothing:
    // equal-area, centred on the regions (map_crs.hpp). Plane data keep their coordinates.
    std::optional<std::string> crs = std::nullopt;
};

// True when the map takes the data for longitudes and latitudes and projects them: every
// coordinate lies within longitude/latitude bounds and y is not said to grow downwards.
bool showsLonLat(const vec::VectorData& data, const MapOptions& options);

// Per region number the value the map shows, nothing where there is none.
std::vector<std::optional<double>> mapValues(const engine::RunResult& run, const MapChoice& choice, int regions);

// Per region number how its value was come by.
std::vector<ValueStyle> valueStyles(const engine::RunResult& run, const MapChoice& choice, int regions);

// True when the choice is the known-and-forecast map and the run has a target to show on it.
bool showsKnownAndForecast(const engine::RunResult& run, const MapChoice& choice);

// The species a choice resolves to (-1 when the run has no species).
int chosenSpecies(const engine::RunResult& run, const MapChoice& choice);

// The map of `data` after `run` (which may be empty: the regions then show no value).
Scene buildMap(const vec::VectorData& data, const engine::RunResult& run, const MapChoice& choice, double width = 900,
               double height = 640, const MapOptions& options = {});

}  // namespace el::figures
