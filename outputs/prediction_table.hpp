#pragma once
// A completed run as a table with one row per region, in file order: what a script in R or
// Python, or a GIS, reads instead of the log. The table is a typed value (columns and rows);
// the CSV text here and the GIS layer (gis/table_layer) are written from it.
//
// Columns: region, number, used, role, actual, score, trial_mean, trial_sd, date_sd, then
// Predicted_NAME for each species analysed, then overdue ("yes" for a region the target has
// not reached whose predicted date is no later than the target's latest date; see
// engine/skill.hpp). An empty cell means "no value": a region that
// was excluded, a run without trials, a species that is not predictable.

#include <string>
#include <vector>

#include "base/typed_table.hpp"
#include "engine/model/run_result.hpp"
#include "vector/vector_data.hpp"

namespace el::engine {

using el::ColumnType;
using el::PredictionTable;
using el::TableCell;
using el::TableColumn;

// The table of a completed run on `data`, the data set the run analysed. `missvalue` (in any
// letter case) is the data set's text for an empty field; the actual column shows it empty.
PredictionTable predictionTable(const vec::VectorData& data, const RunResult& result, const std::string& missvalue);

// RFC 4180 text: a header line, one line per row, CR LF after each; a field is quoted (its
// quotes doubled) when it holds a comma, a quote, CR or LF. Numbers in decimalnum form.
std::string tableCsv(const PredictionTable& table);

}  // namespace el::engine
