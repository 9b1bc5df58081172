#include "gis/prepare_read.hpp"

#include <string>

#include "base/text.hpp"
#include "gis/gdal_session.hpp"
#include "gis/gis_error.hpp"
#include "gis/layer_import.hpp"

namespace el::gis {
namespace {

// Blanks (space, tab) before a field are not part of it, unless the writer quotes the
// field, which it does for a text with a comma.
void dropLeadingBlanks(std::string& text) {
    if (text.find(',') != std::string::npos) return;
    const std::size_t first = text.find_first_not_of(" \t");
    text.erase(0, first == std::string::npos ? text.size() : first);
}

void asReadFromText(VectorData& data) {
    for (std::string& name : data.valname) dropLeadingBlanks(name);
    for (VectorObject& object : data.objects) {
        for (std::string& value : object.values) dropLeadingBlanks(value);
        dropLeadingBlanks(object.name);
    }
}

}  // namespace

bool isGisFile(const std::filesystem::path& path) {
    const std::string extension = asciiLower(gdalPath(path.extension()));
    return extension == ".gpkg" || extension == ".shp" || extension == ".geojson" || extension == ".json";
}

std::optional<VectorData> importForRead(const std::filesystem::path& source, Messenger& messenger) {
    try {
        VectorData data = importLayer(source, {});
        asReadFromText(data);
        return data;
    } catch (const GisError& e) {
        messenger.message("Cannot read " + gdalPath(source.filename()) + ": " + e.what());
        return std::nullopt;
    }
}

}  // namespace el::gis
