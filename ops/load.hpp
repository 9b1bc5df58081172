#pragma once
// The Read as every front end asks for it: a vector file, a GIS layer or a records import
// becomes a data set, and what the user must be told about the input comes back as data:
// the encoding the automatic choice took the file to be in, and, for a file refused as a
// vector file that looks like a table, what it looks like. The reader's own messages (bad
// lines, a records table's refusals) still reach the messenger as they happen.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ops/diagnostic.hpp"
#include "vector/records_source.hpp"
#include "vector/vector_file.hpp"

namespace el::ops {

struct LoadRequest {
    std::filesystem::path file;                 // a vector file or a GIS layer; unused with `records`
    std::optional<vec::RecordsSource> records;  // a records import instead of a file
    std::string missvalue;
    std::string encoding = "auto";     // of a vector file: "auto" or an encoding name
    std::filesystem::path sideFolder;  // where a failed scan's side log goes; none when empty
};

struct LoadResult {
    vec::ReadOutcome read;
    bool convertedFromGis = false;     // from a GIS layer or a records table: nothing may be written back
    std::vector<std::string> summary;  // what a records import put into the data set, once read
    Diagnostics diagnostics;

    bool loaded() const { return read.erf == 0; }
};

// Told once a records import has built its data set and before the Read step takes it, so
// that a front end can say what went in before any message of the Read.
using ImportedHook = std::function<void(const std::vector<std::string>& summary, const vec::VectorData& built)>;

// Throws Cancelled when the feedback asks to stop; every other failure is in the result.
LoadResult load(const LoadRequest& request, const vec::ReadHooks& hooks, const ImportedHook& imported = {});

// The advice for a file refused as a vector file, given the front end's way of asking for
// a records import: the look of the table, then "To read first records from it, use ...".
std::string tableAdvice(const Diagnostic& looksLikeTable, const std::string& recordsWay);

}  // namespace el::ops
