#pragma once
// The records import with everything the GIS part adds: spreadsheets, regions layers joined
// by a key, and occurrence points placed into the regions. Front ends call this where GDAL
// is built, else records::importTableRecords (vector/records_source.hpp).

#include "base/feedback.hpp"
#include "vector/records_source.hpp"

namespace el::gis {

// A records table: a spreadsheet's sheet (`sheet`, else the first whose header gives the
// columns `wanted` asks for), a delimited file, a zip holding one, or a Darwin Core archive
// (.zip or folder). Throws vec::RecordsError or GisError.
vec::Table readRecordsTable(const std::filesystem::path& table, const std::string& encoding,
                            const std::string& sheet = "", const vec::RecordColumns& wanted = {});

// Throws records::RecordsError or GisError with the text for the user; el::Cancelled when
// a checkpoint stops the placing of points.
vec::ImportedRecords importRecords(const vec::RecordsSource& source, Feedback& feedback);

}  // namespace el::gis
