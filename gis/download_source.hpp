#pragma once
// A download as users get it: a delimited file, a .zip holding one delimited file (GBIF's
// simple CSV), or a Darwin Core archive (a .zip with a meta.xml, or the folder it unpacks
// to). Zips are read in place, entry by entry, through GDAL's virtual file system: nothing
// is unpacked to disk, and a file of millions of lines is streamed.

#include <filesystem>
#include <memory>
#include <string>

#include "vector/delimited_text.hpp"
#include "vector/download_lines.hpp"
#include "vector/download_zip.hpp"

namespace el::gis {

// The zips of downloads as GDAL's virtual file system reads them.
vec::ZipOpener gdalZipOpener();

// The lines of `file`. A plain delimited file, or the one delimited file of a zip, is read
// as `plain` says; an archive as its meta.xml says, `encoding` other than "auto"
// overriding its encoding. Throws vec::RecordsError or GisError naming the file, and for a
// zip without meta.xml that holds several files, naming them.
std::unique_ptr<vec::DownloadLines> openDownload(const std::filesystem::path& file, const vec::DelimitedFormat& plain,
                                                 const std::string& encoding);

}  // namespace el::gis
