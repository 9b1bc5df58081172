#pragma once
// The files for other programs written after a completed run when asked, by the batch
// runner and the window alike: the predictions table (CSV or a GIS layer), the table of a
// hindcast over several species and the run summary (JSON). Each is written whole; none
// touches the log.

#include <optional>
#include <string>
#include <string_view>

#include "ops/output_refusals.hpp"
#include "outputs/prediction_table.hpp"
#include "outputs/run_summary.hpp"
#include "vector/vector_data.hpp"

namespace el::ops {

// Checks the name given to --predictions: "" when this build writes it, else the usage error.
std::string predictionsFileError(const std::string& file);

// The table as CSV (.csv) or as a GIS layer (.gpkg, .geojson, .shp; refused for a data set
// without geometry, see layerRefusal). The text of the failure, or nothing when the file
// was written.
std::optional<std::string> writePredictionsFile(const std::string& file, const engine::PredictionTable& table,
                                                const vec::VectorData& data,
                                                std::string_view regionsWords = kBatchRegionsWords);

// A table as CSV; a failure names the file as "the `what` file".
std::optional<std::string> writeCsvTable(const std::string& file, const std::string& what,
                                         const engine::PredictionTable& table);

// The table of a hindcast over several species, as CSV.
std::optional<std::string> writeHindcastTable(const std::string& file, const engine::PredictionTable& table);

std::optional<std::string> writeSummaryFile(const std::string& file, const engine::RunSummaryInput& summary);

}  // namespace el::ops
