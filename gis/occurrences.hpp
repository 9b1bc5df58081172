#pragma once
// Occurrence points (a CSV/TSV download: species, decimal longitude, decimal latitude, a
// year or an event date) placed in the regions of a regions layer, and reduced to the
// earliest record of each (region, species): one Record per pair, its date a decimal
// year as text, its row the line of that earliest point.
//
// The file is a delimited file, a zip holding one, or a Darwin Core archive (gis/download_source.hpp), streamed
// line by line (as occurrenceFormat or the archive's meta.xml says); in a file delimited by semicolons or tabs a
// coordinate may have a decimal comma. Points outside every region, without a date or a
// species, and with coordinates that are not longitude/latitude are counted, not kept.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "base/feedback.hpp"
#include "gis/occurrence_points.hpp"
#include "gis/regions_layer.hpp"
#include "vector/records.hpp"

namespace el::gis {

// Throws GisError for a file that cannot be read or a column that is not found (naming
// the headers the file has), vec::RecordsError for a filter the file's lines refuse.
// Feedback's checkpoint is called every few thousand lines, on the calling thread. With
// `threads` above 1 the points are placed on a second thread while the calling one reads
// on; the result is the same.
OccurrenceResult placeOccurrences(const std::filesystem::path& pointsFile, const RegionsLayer& regions,
                                  const OccurrenceColumns& columns, Feedback& feedback,
                                  const std::string& encoding = "auto", OccurrenceRules rules = {}, int threads = 1);

}  // namespace el::gis
