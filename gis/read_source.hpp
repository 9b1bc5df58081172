#pragma once
// The Read step as the window and the batch runner start it: a vector file is read as it
// is; a GIS file (GeoPackage, Shapefile, GeoJSON) becomes a data set through GDAL, when the
// tool was built with GIS support. The source itself is never written. Like the rest of
// the core it takes no lock (the front ends hold base/file_lock.hpp's).

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "vector/records.hpp"
#include "vector/records_source.hpp"
#include "vector/sheet_choice.hpp"
#include "vector/vector_file.hpp"

namespace el {

struct SourceReadOutcome {
    vec::ReadOutcome read;
    bool convertedFromGis = false;  // the data came from a GIS file: nothing may be written back to it
};

// `encoding` is the text encoding of a vector file ("auto": UTF-8, else the one detected);
// the side log of a failed scan goes to `sideFolder` (nothing when it is empty).
SourceReadOutcome readSourceFile(const std::filesystem::path& source, const std::string& missvalue,
                                 const vec::ReadHooks& hooks, const std::filesystem::path& sideFolder,
                                 const std::string& encoding = "auto");

// A records table's cells: a delimited text (`encoding` "auto" or an encoding name), or a
// sheet of an XLSX or ODS file (`sheet`, else the first whose header gives the columns
// `wanted` asks for). Throws std::runtime_error naming the fault.
vec::Table readRecordsTable(const std::filesystem::path& table, const std::string& encoding,
                            const std::string& sheet = "", const vec::RecordColumns& wanted = {});

// Every sheet's name and header row of an XLSX or ODS file. Throws std::runtime_error naming
// the fault (also where the GIS part, which reads spreadsheets, is not built).
std::vector<vec::SheetHeaders> readSheetHeaders(const std::filesystem::path& table);

// The records import alone: through the GIS part where it is built (regions layers, points,
// spreadsheets), else from a delimited table. Throws std::runtime_error with the text for the user.
vec::ImportedRecords importRecords(const vec::RecordsSource& source, Feedback& feedback);

struct RecordsReadOutcome {
    vec::ReadOutcome read;
    std::vector<std::string> summary;  // what went into the data set; empty when nothing was built
};

// The records import (a table, or points, joined to a regions layer where one is named),
// then taken as the Read step takes a GIS layer's data set. Every refusal (bad rows,
// unmatched or shared keys, a missing column) reaches the messenger. `imported`, when given,
// is told of the import before the Read step takes its data set.
using ImportedRecordsHook = std::function<void(const vec::ImportedRecords&)>;
RecordsReadOutcome readRecordsSource(const vec::RecordsSource& source, const std::string& missvalue,
                                     const vec::ReadHooks& hooks, const ImportedRecordsHook& imported = {});

}  // namespace el
