#pragma once
// A zip read through R's own zip support (unzip's listing, unz connections), for downloads
// that come zipped: the package cannot count on GDAL, and nothing is unpacked to disk.

#include <Rcpp.h>

#include <filesystem>
#include <memory>

#include "vector/download_zip.hpp"

namespace el::rpkg {

// `entries(zip)`: the zip's files, `open(zip, entry)`: an open binary connection to one,
// both R functions.
vec::ZipOpener rZipOpener(Rcpp::Function entries, Rcpp::Function open);

}  // namespace el::rpkg
