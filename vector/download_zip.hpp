#pragma once
// A download that comes as a zip: GBIF's simple CSV (one delimited file) or a Darwin Core
// archive (a meta.xml beside its core file, perhaps under a folder). Which entry holds the
// records, and how it is read, is decided here; the zip itself is read by whoever can:
// GDAL's virtual file system in the GIS part (gis/download_source.hpp), R's own zip reader
// in the R package. Both then read the same lines and refuse a zip with the same words.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "vector/delimited_text.hpp"
#include "vector/download_lines.hpp"

namespace el::vec {

// The files of one zip, read in place.
class ZipFiles {
public:
    virtual ~ZipFiles() = default;
    // The files it holds (not its folders), as paths inside it ("data/occurrence.txt").
    virtual std::vector<std::string> entries() = 0;
    // The bytes of one of them, streamed. Throws RecordsError when it cannot be read.
    virtual std::unique_ptr<ByteSource> open(const std::string& entry) = 0;
};

// The meta.xml nearest the zip's root ("" for none): an archive may be zipped with its folder.
std::string metaEntry(const std::vector<std::string>& entries);

// The lines of the zip's records: an archive's core file as its meta.xml says (`encoding`
// other than "auto" overriding it), else its one delimited file read as `plain` says.
// `shown` is the zip as the user named it, for the refusals. Throws RecordsError, for a zip
// without meta.xml that holds several files naming them.
std::unique_ptr<DownloadLines> openZipDownload(ZipFiles& zip, const std::filesystem::path& file,
                                               const std::string& shown, const DelimitedFormat& plain,
                                               const std::string& encoding);

// Throws RecordsError for a folder (that is no archive), saying what to name instead.
void refuseFolder(const std::filesystem::path& path);

// True for a file whose bytes begin as a zip archive does (whatever its name).
bool isZipFile(const std::filesystem::path& file);

// The zip reader of a front end: the files of the zip `file`.
using ZipOpener = std::function<std::unique_ptr<ZipFiles>(const std::filesystem::path& file)>;

// The lines of a download: an unpacked archive (a folder with meta.xml), a zip (opened by
// `openZip`), or a plain delimited file read as `plain` says. A refusal that does not name
// the file is given its path first. Throws RecordsError, or what `openZip` throws.
std::unique_ptr<DownloadLines> openDownloadWith(const std::filesystem::path& file, const DelimitedFormat& plain,
                                                const std::string& encoding, const ZipOpener& openZip);

// A records table as it may come: an unpacked archive or a zip (opened by `openZip`) read
// whole as a table, else a delimited file (readTableFile). Throws RecordsError, or what
// `openZip` throws.
Table readTableDownload(const std::filesystem::path& table, const std::string& encoding, const ZipOpener& openZip);

}  // namespace el::vec
