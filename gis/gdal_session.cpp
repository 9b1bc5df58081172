#include "gis/gdal_session.hpp"

#include <algorithm>
#include <mutex>

#include <cpl_error.h>

#include "base/file_bytes.hpp"

namespace el::gis {

void registerGdalDrivers() {
    static std::once_flag once;
    std::call_once(once, [] { GDALAllRegister(); });
}

QuietGdal::QuietGdal() {
    CPLPushErrorHandler(CPLQuietErrorHandler);
    CPLErrorReset();
}

QuietGdal::~QuietGdal() { CPLPopErrorHandler(); }

std::string gdalReason() {
    const char* text = CPLGetLastErrorMsg();
    if (text == nullptr || *text == '\0') return {};
    return std::string(" (") + text + ")";
}

std::string gdalPath(const std::filesystem::path& path) { return utf8Path(path); }

}  // namespace el::gis
