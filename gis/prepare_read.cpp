#include "gis/prepare_read.hpp"

#include "base/text.hpp"
#include "gis/gdal_session.hpp"
#include "gis/gis_error.hpp"
#include "gis/layer_import.hpp"
#include "vector/vector_file.hpp"

namespace el::gis {

bool isGisFile(const std::filesystem::path& path) {
    const std::string extension = asciiLower(gdalPath(path.extension()));
    return extension == ".gpkg" || extension == ".shp" || extension == ".geojson" || extension == ".json";
}

std::filesystem::path prepareForRead(const std::filesystem::path& source, Messenger& messenger) {
    if (!isGisFile(source)) return source;
    const std::filesystem::path scratch = kScratchVectorFile;
    Feedback quiet;
    try {
        VectorData data = importLayer(source, {});
        if (VectorFileWrite(scratch, data, "", quiet) != 0)
            throw GisError("cannot write the scratch file " + gdalPath(scratch));
    } catch (const GisError& e) {
        std::error_code ec;
        std::filesystem::remove(scratch, ec);
        messenger.message("Cannot read " + gdalPath(source.filename()) + ": " + e.what());
        throw;
    }
    return scratch;
}

}  // namespace el::gis
