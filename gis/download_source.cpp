#include "gis/download_source.hpp"

#include <algorithm>
#include <array>
#include <fstream>
#include <string_view>
#include <vector>

#include <cpl_string.h>
#include <cpl_vsi.h>

#include "base/text.hpp"
#include "gis/gdal_session.hpp"
#include "gis/gis_error.hpp"
#include "vector/archive_meta.hpp"
#include "vector/records_error.hpp"

namespace el::gis {
namespace {

// The bytes of a file GDAL's virtual file system names ("/vsizip/...").
class VsiBytes final : public vec::ByteSource {
public:
    explicit VsiBytes(std::string path) : path_(std::move(path)), file_(VSIFOpenL(path_.c_str(), "rb")) {
        if (file_ == nullptr) throw GisError("cannot open " + path_ + gdalReason());
    }
    ~VsiBytes() override { VSIFCloseL(file_); }
    VsiBytes(const VsiBytes&) = delete;
    VsiBytes& operator=(const VsiBytes&) = delete;

    // A short read is the end of the entry, unless GDAL failed (a damaged entry).
    std::size_t read(char* into, std::size_t size) override {
        CPLErrorReset();
        const std::size_t got = VSIFReadL(into, 1, size, file_);
        if (CPLGetLastErrorType() == CE_Failure) throw vec::RecordsError("Reading " + path_ + " failed" + gdalReason());
        return got;
    }

private:
    QuietGdal quiet_;
    std::string path_;
    VSILFILE* file_;
};

std::string zipRoot(const std::filesystem::path& zip) { return "/vsizip/{" + gdalPath(zip) + "}"; }

std::string readVsiWhole(const std::string& path) {
    VsiBytes bytes(path);
    std::string text;
    std::array<char, 1 << 16> piece{};
    while (const std::size_t got = bytes.read(piece.data(), piece.size())) text.append(piece.data(), got);
    return text;
}

// The files of a zip (not its folders), as paths inside it.
std::vector<std::string> zipEntries(const std::filesystem::path& zip) {
    char** listed = VSIReadDirRecursive(zipRoot(zip).c_str());
    if (listed == nullptr) throw GisError(gdalPath(zip) + " could not be read as a zip archive" + gdalReason());
    std::vector<std::string> files;
    for (char** entry = listed; *entry != nullptr; ++entry) {
        const std::string name(*entry);
        VSIStatBufL stat;
        if (!name.empty() && name.back() != '/' && VSIStatL((zipRoot(zip) + "/" + name).c_str(), &stat) == 0 &&
            VSI_ISREG(stat.st_mode))
            files.push_back(name);
    }
    CSLDestroy(listed);
    return files;
}

std::string_view lastPart(std::string_view entry) {
    const std::size_t slash = entry.rfind('/');
    return slash == std::string_view::npos ? entry : entry.substr(slash + 1);
}

// The meta.xml nearest the zip's root ("" for none): an archive may be zipped with its folder.
std::string metaEntry(const std::vector<std::string>& entries) {
    std::string best;
    for (const std::string& entry : entries)
        if (equalsIgnoringAsciiCase(lastPart(entry), "meta.xml") &&
            (best.empty() || std::count(entry.begin(), entry.end(), '/') < std::count(best.begin(), best.end(), '/')))
            best = entry;
    return best;
}

bool delimitedName(std::string_view entry) {
    const std::string name = asciiLower(lastPart(entry));
    for (const char* extension : {".csv", ".tsv", ".txt", ".tab"})
        if (name.size() > std::string_view(extension).size() && name.ends_with(extension)) return true;
    return false;
}

std::string entryList(const std::vector<std::string>& entries) {
    std::string list;
    for (const std::string& entry : entries) list += (list.empty() ? "" : ", ") + entry;
    return list.empty() ? "none" : list;
}

// The one delimited file of a zip without meta.xml: its only file, else its only .csv/.tsv/.txt.
std::string onlyTable(const std::filesystem::path& zip, const std::vector<std::string>& entries) {
    if (entries.size() == 1) return entries.front();
    std::vector<std::string> tables;
    for (const std::string& entry : entries)
        if (delimitedName(entry)) tables.push_back(entry);
    if (tables.size() == 1) return tables.front();
    throw vec::RecordsError(gdalPath(zip) + " holds " +
                            (entries.empty() ? std::string("no file")
                                             : "no meta.xml and " + std::string(tables.empty() ? "no" : "several") +
                                                   " delimited files (" + entryList(entries) + ")") +
                            ": give a download with one table, or a Darwin Core archive");
}

std::unique_ptr<vec::DownloadLines> openZip(const std::filesystem::path& zip, const vec::DelimitedFormat& plain,
                                            const std::string& encoding) {
    registerGdalDrivers();
    QuietGdal quiet;
    const std::vector<std::string> entries = zipEntries(zip);
    const std::string meta = metaEntry(entries);
    if (meta.empty()) {
        vec::DelimitedFormat format = plain;
        const std::string entry = onlyTable(zip, entries);
        format.label = entry + " in " + zip.filename().string();
        return std::make_unique<vec::DownloadLines>(std::make_unique<VsiBytes>(zipRoot(zip) + "/" + entry), format);
    }
    vec::ArchiveCore core = vec::readArchiveMeta(readVsiWhole(zipRoot(zip) + "/" + meta));
    const std::string folder = meta.substr(0, meta.size() - lastPart(meta).size());
    core.format.label = folder + core.location + " in " + zip.filename().string();
    return std::make_unique<vec::DownloadLines>(std::make_unique<VsiBytes>(zipRoot(zip) + "/" + folder + core.location),
                                                core, encoding);
}

}  // namespace

bool isZipFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::array<char, 4> head{};
    in.read(head.data(), head.size());
    return in.gcount() == 4 && vec::looksLikeZip(std::string_view(head.data(), head.size()));
}

std::unique_ptr<vec::DownloadLines> openDownload(const std::filesystem::path& file, const vec::DelimitedFormat& plain,
                                                 const std::string& encoding) {
    try {
        if (vec::isArchiveFolder(file)) return vec::openArchiveFolder(file, encoding);
        if (isZipFile(file)) return openZip(file, plain, encoding);
        return std::make_unique<vec::DownloadLines>(std::make_unique<vec::FileBytes>(file), plain);
    } catch (const vec::RecordsError& e) {
        const std::string what = e.what();
        if (what.find(file.filename().string()) != std::string::npos) throw;
        throw vec::RecordsError(file.string() + ": " + what);
    }
}

}  // namespace el::gis
