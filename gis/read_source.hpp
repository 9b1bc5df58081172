#pragma once
// The Read step as the window and the batch runner start it: a vector file is read as it
// is; a GIS file (GeoPackage, Shapefile, GeoJSON) is first converted to a scratch vector
// file, when the tool was built with GIS support. The source itself is never written.

#include <filesystem>
#include <string>

#include "vector/vector_file.hpp"

namespace el {

struct SourceReadOutcome {
    ReadOutcome read;
    bool convertedFromGis = false;  // the data came from a GIS file: nothing may be written back to it
};

// `encoding` is the text encoding of a vector file ("auto": UTF-8, else CP932).
SourceReadOutcome readSourceFile(const std::filesystem::path& source, const std::string& missvalue, const ReadHooks& hooks,
                                 const std::string& encoding = "auto");

}  // namespace el
