#pragma once
// A zip read through R's own zip support (unzip's listing, unz connections), for downloads
// that come zipped: the package cannot count on GDAL, and nothing is unpacked to disk.

#include <Rcpp.h>

#include <filesystem>
#include <memory>

#include "vector/download_zip.hpp"

namespace el::rpkg {

// The R functions that read a zip, each answering list(value = ...) or list(error = TEXT):
// entries(zip) the zip's files, open(zip, entry) an open binary connection to one,
// read(connection, n) up to n of its bytes (raw), close(connection).
struct ZipFunctions {
    Rcpp::Function entries, open, read, close;
};

// The package's own (R/records.R).
ZipFunctions packageZipFunctions();

vec::ZipOpener rZipOpener(const ZipFunctions& functions);

}  // namespace el::rpkg
