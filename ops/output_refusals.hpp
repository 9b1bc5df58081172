#pragma once
// What is refused or warned of about the outputs of a run, before they are made: a map, a
// report or a GIS layer of a data set without geometry (a records table read without a
// regions layer, whose regions all stand at one place), and a thread count that is no count.

#include <optional>
#include <string>
#include <string_view>

#include "ops/diagnostic.hpp"
#include "vector/vector_data.hpp"

namespace el::ops {

// How a front end tells the user to bring the regions' geometry with a records table.
inline constexpr std::string_view kBatchRegionsWords = "--regions LAYER";
inline constexpr std::string_view kWindowRegionsWords = "a regions layer";

// The refusal of a map (or a report, which holds one) into `file`, "" for a map on screen;
// nothing when the data set has geometry.
std::optional<Diagnostic> mapRefusal(const std::string& file, const vec::VectorData& data,
                                     std::string_view regionsWords = kBatchRegionsWords);

// The refusal of the predictions table as a GIS layer into `file`; nothing when the data set
// has geometry.
std::optional<Diagnostic> layerRefusal(const std::string& file, const vec::VectorData& data,
                                       std::string_view regionsWords = kBatchRegionsWords);

// The warning that a hindcast's distance baseline is null without geometry; nothing with it.
std::optional<Diagnostic> distanceBaselineWarning(const vec::VectorData& data,
                                                  std::string_view regionsWords = kBatchRegionsWords);

// The refusal of a thread count (as the threads setting holds it: "" for every core).
std::optional<Diagnostic> threadCountRefusal(const std::string& text);

}  // namespace el::ops
