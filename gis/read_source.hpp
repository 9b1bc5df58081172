#pragma once
// The Read step as the window and the batch runner start it: a vector file is read as it
// is; a GIS file (GeoPackage, Shapefile, GeoJSON) becomes a data set through GDAL, when the
// tool was built with GIS support. The source itself is never written. Like the rest of
// the core it takes no lock (the front ends hold vector/work_lock.hpp's).

#include <filesystem>
#include <string>

#include "vector/records.hpp"
#include "vector/vector_file.hpp"

namespace el {

struct SourceReadOutcome {
    ReadOutcome read;
    bool convertedFromGis = false;  // the data came from a GIS file: nothing may be written back to it
};

// `encoding` is the text encoding of a vector file ("auto": UTF-8, else CP932).
SourceReadOutcome readSourceFile(const std::filesystem::path& source, const std::string& missvalue, const ReadHooks& hooks,
                                 const std::string& encoding = "auto");

// A records table and the regions layer that gives its regions their shapes, as a front end
// asks for them.
struct RecordsSource {
    std::filesystem::path table;     // CSV/TSV (delimiter and encoding found), XLSX or ODS
    std::string encoding = "auto";   // of a delimited table
    records::RecordColumns columns;  // empty names: found by the usual header names
    std::filesystem::path regions;   // empty: a data set without geometry
    std::string regionsLayer;        // empty: the layer's only one
    std::string joinColumn;          // the table column with the layer's keys; empty: the region column
    std::string joinField;           // the layer field with the keys; empty: its name field
    records::Absence absent = records::Absence::NotYet;
    bool dropUnmatched = false;
};

struct RecordsReadOutcome {
    ReadOutcome read;
    std::string summary;  // the summary line of what was built; empty when nothing was
};

// A records table's cells: a delimited text (`encoding` "auto" or an encoding name), or the
// first sheet of an XLSX or ODS file. Throws std::runtime_error naming the fault.
records::Table readRecordsTable(const std::filesystem::path& table, const std::string& encoding);

// The table joined to its regions, then taken as the Read step takes a data set. Every
// refusal (bad rows, unmatched or shared keys, a missing column) reaches the messenger.
RecordsReadOutcome readRecordsSource(const RecordsSource& source, const std::string& missvalue, const ReadHooks& hooks);

}  // namespace el
