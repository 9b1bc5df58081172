#pragma once
// Occurrence points (a CSV/TSV download: species, decimal longitude, decimal latitude, a
// year or an event date) placed in the regions of a regions layer, and reduced to the
// earliest record of each (region, species): one Record per pair, its date a decimal
// year as text, its row the line of that earliest point.
//
// The file is streamed line by line (gis/delimited_lines.hpp); in a file delimited by
// semicolons or tabs a coordinate may have a decimal comma. Points outside every region, without a date or a
// species, and with coordinates that are not longitude/latitude are counted, not kept.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "base/feedback.hpp"
#include "gis/regions_layer.hpp"
#include "vector/records.hpp"

namespace el::gis {

// The columns to read; an empty name: found by the usual header names in any letter case
// (species / scientificName; decimalLongitude / longitude / lon / x; decimalLatitude /
// latitude / lat / y; year and eventDate / date, a filled year winning over the date).
struct OccurrenceColumns {
    std::string species, longitude, latitude, date;
};

struct OccurrenceResult {
    std::vector<records::Record> records;  // one per (region, species), in order of region then species
    std::int64_t points = 0;               // data lines read
    std::int64_t placed = 0;               // points that landed in a region with a date and a species
    std::int64_t outside = 0;              // in no region
    std::int64_t undated = 0;              // no usable year or date
    std::int64_t unnamed = 0;              // no species
    std::int64_t badCoordinates = 0;       // not numbers, or outside -180..180 / -90..90
    std::vector<std::int64_t> badRows;     // the first few lines with bad coordinates
    std::string summaryLine() const;
};

// Throws GisError for a file that cannot be read or a column that is not found (naming
// the headers the file has). Feedback's checkpoint is called every few thousand points.
OccurrenceResult placeOccurrences(const std::filesystem::path& pointsFile, const RegionsLayer& regions,
                                  const OccurrenceColumns& columns, Feedback& feedback);

}  // namespace el::gis
