#pragma once
// Writes a run's prediction table as a GIS layer: one feature per region with the region's
// geometry and one attribute per column (text, integer or real, empty cells null).

#include <filesystem>

#include "base/typed_table.hpp"
#include "vector/vector_data.hpp"

namespace el::gis {

// `data` is the data set the table was made from (its rows are its objects, in file order).
// The format follows the extension of `output` (.gpkg, .geojson, .shp, ...). An existing
// `output` is replaced; after a failure nothing is left. Throws GisError.
void exportTableLayer(const PredictionTable& table, const vec::VectorData& data, const std::filesystem::path& output);

}  // namespace el::gis
