#include "gis/download_source.hpp"

#include <vector>

#include <cpl_string.h>
#include <cpl_vsi.h>

#include "gis/gdal_session.hpp"
#include "gis/gis_error.hpp"
#include "vector/download_zip.hpp"
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

// A zip's files through GDAL's virtual file system.
class GdalZip final : public vec::ZipFiles {
public:
    explicit GdalZip(const std::filesystem::path& zip) : zip_(zip) { registerGdalDrivers(); }

    std::vector<std::string> entries() override {
        char** listed = VSIReadDirRecursive(zipRoot(zip_).c_str());
        if (listed == nullptr) throw GisError(gdalPath(zip_) + " could not be read as a zip archive" + gdalReason());
        std::vector<std::string> files;
        for (char** entry = listed; *entry != nullptr; ++entry) {
            const std::string name(*entry);
            VSIStatBufL stat;
            if (!name.empty() && name.back() != '/' && VSIStatL((zipRoot(zip_) + "/" + name).c_str(), &stat) == 0 &&
                VSI_ISREG(stat.st_mode))
                files.push_back(name);
        }
        CSLDestroy(listed);
        return files;
    }

    std::unique_ptr<vec::ByteSource> open(const std::string& entry) override {
        return std::make_unique<VsiBytes>(zipRoot(zip_) + "/" + entry);
    }

private:
    QuietGdal quiet_;
    std::filesystem::path zip_;
};

}  // namespace

vec::ZipOpener gdalZipOpener() {
    return [](const std::filesystem::path& zip) { return std::make_unique<GdalZip>(zip); };
}

std::unique_ptr<vec::DownloadLines> openDownload(const std::filesystem::path& file, const vec::DelimitedFormat& plain,
                                                 const std::string& encoding) {
    return vec::openDownloadWith(file, plain, encoding, gdalZipOpener());
}

}  // namespace el::gis
