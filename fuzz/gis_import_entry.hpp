#pragma once
// The fuzz entry of the GIS import: the first byte of an input picks the format, the rest
// is the file, which GDAL reads from memory. The import must either give a data set that
// the Read step takes (with the checks on) or stop with a message. Header-only, so that
// the libFuzzer target and the corpus replay of the test run share it.

#include <cstdint>
#include <string>
#include <string_view>

#include <cpl_vsi.h>

#include "fuzz/fuzz_require.hpp"
#include "gis/gdal_session.hpp"
#include "gis/prepare_read.hpp"
#include "vector/vector_file.hpp"

namespace el::fuzz {

inline int gisImportOnBytes(std::string_view bytes) {
    if (bytes.empty()) return 0;
    static const char* const kFiles[] = {"/vsimem/earlylate-fuzz/input.geojson", "/vsimem/earlylate-fuzz/input.gpkg"};
    const char* const file = kFiles[static_cast<unsigned char>(bytes[0]) % 2];
    bytes.remove_prefix(1);
    std::string content(bytes);  // GDAL reads it in place and may not write it
    gis::registerGdalDrivers();
    VSILFILE* handle = VSIFileFromMemBuffer(file, reinterpret_cast<GByte*>(content.data()),
                                            static_cast<vsi_l_offset>(content.size()), FALSE);
    require(handle != nullptr, "GDAL took no file from memory");
    VSIFCloseL(handle);

    CountingMessenger messenger;
    auto data = gis::importForRead(file, messenger);
    VSIUnlink(file);
    require(data.has_value() || messenger.messages > 0, "a failed import without a message");
    if (!data) return 0;
    require(data->consistent(), "an import with an inconsistent data set");

    SettingValues settings;
    settings.set(Setting::SkipFormatCheck, "0");  // the checks on
    Feedback quiet;
    const vec::ReadOutcome read = vec::readVectorData(std::move(*data), "null", {settings, messenger, quiet});
    require(read.erf == 0 && read.data.consistent(), "the Read step refused an imported data set");
    return 0;
}

}  // namespace el::fuzz
