#pragma once
// The files for other programs that the batch runner writes after a completed run when
// asked: the predictions table (--predictions, CSV or a GIS layer) and the run summary
// (--summary, JSON). Each is written whole; neither touches the log.

#include <optional>
#include <string>

#include "outputs/prediction_table.hpp"
#include "outputs/run_summary.hpp"
#include "vector/vector_data.hpp"

namespace el::batch {

// Checks the name given to --predictions: "" when this build writes it, else the usage error.
std::string predictionsFileError(const std::string& file);

// The table as CSV (.csv) or as a GIS layer (.gpkg, .geojson, .shp). The text of the
// failure, or nothing when the file was written.
std::optional<std::string> writePredictionsFile(const std::string& file, const engine::PredictionTable& table,
                                                const vec::VectorData& data);

// The table of a hindcast over several species, as CSV.
std::optional<std::string> writeHindcastTable(const std::string& file, const engine::PredictionTable& table);

std::optional<std::string> writeSummaryFile(const std::string& file, const engine::RunSummaryInput& summary);

}  // namespace el::batch
