#pragma once
// The Read step as the window and the batch runner start it: a vector file is read as it
// is; a GIS file (GeoPackage, Shapefile, GeoJSON) becomes a data set through GDAL, when the
// tool was built with GIS support. The source itself is never written. Like the rest of
// the core it takes no lock (the front ends hold vector/work_lock.hpp's).

#include <filesystem>
#include <string>

#include "vector/vector_file.hpp"

namespace el {

struct SourceReadOutcome {
    ReadOutcome read;
    bool convertedFromGis = false;  // the data came from a GIS file: nothing may be written back to it
};

// `encoding` is the text encoding of a vector file ("auto": UTF-8, else the one detected).
SourceReadOutcome readSourceFile(const std::filesystem::path& source, const std::string& missvalue, const ReadHooks& hooks,
                                 const std::string& encoding = "auto");

}  // namespace el
