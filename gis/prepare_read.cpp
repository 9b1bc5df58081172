#include "gis/prepare_read.hpp"

#include <string>

#include "base/text.hpp"
#include "gis/gdal_session.hpp"
#include "gis/gis_error.hpp"
#include "gis/layer_import.hpp"
#include "vector/field_text.hpp"

namespace el::gis {

bool isGisFile(const std::filesystem::path& path) {
    const std::string extension = asciiLower(gdalPath(path.extension()));
    return extension == ".gpkg" || extension == ".shp" || extension == ".geojson" || extension == ".json";
}

std::optional<vec::VectorData> importForRead(const std::filesystem::path& source, Messenger& messenger) {
    try {
        vec::VectorData data = importLayer(source, {});
        vec::asReadFromText(data);
        return data;
    } catch (const GisError& e) {
        messenger.message("Cannot read " + gdalPath(source.filename()) + ": " + e.what());
        return std::nullopt;
    }
}

}  // namespace el::gis
