#pragma once
// The data set of --records or --occurrences: through the GIS part where it is built (regions
// layers, points, spreadsheets), else from a delimited table alone.

#include "base/feedback.hpp"
#include "vector/records_source.hpp"

namespace el::batch {

// Throws RecordsError (or the GIS part's error) with the text for the user.
records::ImportedRecords importRecordsFor(const records::RecordsSource& source, Feedback& feedback);

}  // namespace el::batch
