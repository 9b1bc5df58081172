#include "gis/gdal_session.hpp"

#include <algorithm>
#include <mutex>

#include <cpl_error.h>

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

std::string gdalPath(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

}  // namespace el::gis
