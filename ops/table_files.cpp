#include "ops/table_files.hpp"

#include <filesystem>

#include "base/file_replace.hpp"
#include "base/text.hpp"
#ifdef EARLYLATE_HAVE_GIS
#include "gis/gis_error.hpp"
#include "gis/table_layer.hpp"
#endif

namespace el::ops {
namespace {

std::string extensionOf(const std::string& file) { return asciiLower(std::filesystem::path(file).extension().string()); }

bool isGisTable(const std::string& file) {
    const std::string extension = extensionOf(file);
    return extension == ".gpkg" || extension == ".geojson" || extension == ".shp";
}

std::optional<std::string> writeText(const std::string& file, const std::string& what, const std::string& bytes) {
    const auto reason = replaceFile(file, bytes);
    if (!reason) return std::nullopt;
    return "The " + what + " file \"" + file + "\" cannot be written: " + *reason;
}

}  // namespace

std::string predictionsFileError(const std::string& file) {
    if (extensionOf(file) == ".csv") return "";
    if (!isGisTable(file)) return "option --predictions: \"" + file + "\" must end in .csv, .gpkg, .geojson or .shp";
#ifdef EARLYLATE_HAVE_GIS
    return "";
#else
    return "option --predictions: this build has no GIS support; write \"" + file + "\" as .csv instead";
#endif
}

std::optional<std::string> writePredictionsFile(const std::string& file, const engine::PredictionTable& table,
                                                const vec::VectorData& data, std::string_view regionsWords) {
    if (!isGisTable(file)) return writeCsvTable(file, "predictions", table);
    if (auto refusal = layerRefusal(file, data, regionsWords)) return refusal->text;
#ifdef EARLYLATE_HAVE_GIS
    try {
        gis::exportTableLayer(table, data, file);
        return std::nullopt;
    } catch (const gis::GisError& error) {
        return "The predictions layer \"" + file + "\" cannot be written: " + error.what();
    }
#else
    (void)data;
    return "The predictions layer \"" + file + "\" cannot be written: this build has no GIS support";
#endif
}

std::optional<std::string> writeCsvTable(const std::string& file, const std::string& what,
                                         const engine::PredictionTable& table) {
    return writeText(file, what, engine::tableCsv(table));
}

std::optional<std::string> writeHindcastTable(const std::string& file, const engine::PredictionTable& table) {
    return writeCsvTable(file, "hindcast table", table);
}

std::optional<std::string> writeSummaryFile(const std::string& file, const engine::RunSummaryInput& summary) {
    return writeText(file, "summary", engine::runSummaryJson(summary));
}

}  // namespace el::ops
