#include "gis/read_source.hpp"

#include "base/text.hpp"
#include "vector/file_bytes.hpp"

#ifdef EARLYLATE_HAVE_GIS
#include "gis/gis_error.hpp"
#include "gis/prepare_read.hpp"
#include "gis/regions_layer.hpp"
#include "gis/sheet_table.hpp"
#endif

namespace el {
namespace {

bool isSheet(const std::filesystem::path& path) {
    const std::string extension = asciiLower(path.extension().string());
    return extension == ".xlsx" || extension == ".ods";
}

// Why a build without GIS support cannot take `what`.
std::runtime_error needsGis(const std::string& what) {
    return std::runtime_error("This build of the tool reads no " + what + ": it was built without GDAL.");
}

std::map<std::string, records::RegionShape> shapesOf(const RecordsSource& source) {
#ifdef EARLYLATE_HAVE_GIS
    return gis::readRegionsLayer(source.regions, source.regionsLayer, source.joinField).shapes;
#else
    (void)source;
    throw needsGis("regions layers");
#endif
}

records::BuiltRecords buildFrom(const RecordsSource& source) {
    const records::Table table = readRecordsTable(source.table, source.encoding);
    records::RecordColumns columns = source.columns;
    columns.key = source.joinColumn;
    std::vector<records::Record> found = records::recordsOf(table, columns);
    std::map<std::string, records::RegionShape> shapes;
    records::BuildOptions options;
    options.absent = source.absent;
    options.dropUnmatched = source.dropUnmatched;
    if (!source.regions.empty()) {
        shapes = shapesOf(source);
        options.shapes = &shapes;
    }
    return records::buildRecordsData(std::move(found), options);
}

}  // namespace

records::Table readRecordsTable(const std::filesystem::path& table, const std::string& encoding) {
    if (isSheet(table)) {
#ifdef EARLYLATE_HAVE_GIS
        return gis::readSheetTable(table);
#else
        throw needsGis("spreadsheets (XLSX, ODS)");
#endif
    }
    const auto bytes = vec::readWholeFile(table);
    if (!bytes) throw std::runtime_error("Cannot open file: " + table.string());
    return records::readDelimitedTable(*bytes, encoding);
}

SourceReadOutcome readSourceFile(const std::filesystem::path& source, const std::string& missvalue, const ReadHooks& hooks,
                                 const std::string& encoding) {
    SourceReadOutcome outcome;
#ifdef EARLYLATE_HAVE_GIS
    if (gis::isGisFile(source)) {
        auto data = gis::importForRead(source, hooks.messenger);
        if (!data) return outcome;  // the user has been told why; erf stays 1
        outcome.read = readVectorData(std::move(*data), missvalue, hooks);
        outcome.convertedFromGis = true;
        return outcome;
    }
#endif
    outcome.read = readVectorFile(source, missvalue, hooks, encoding);
    return outcome;
}

RecordsReadOutcome readRecordsSource(const RecordsSource& source, const std::string& missvalue, const ReadHooks& hooks) {
    RecordsReadOutcome outcome;
    records::BuiltRecords built;
    try {
        built = buildFrom(source);
    } catch (const std::runtime_error& e) {  // the records', the GIS and the file errors
        hooks.messenger.message(e.what());
        return outcome;
    }
    outcome.read = readVectorData(std::move(built.data), missvalue, hooks);
    if (outcome.read.erf == 0) outcome.summary = built.summaryLine();
    return outcome;
}

}  // namespace el
