#include "gis/records_import.hpp"

#include <optional>

#include "gis/download_source.hpp"
#include "gis/occurrences.hpp"
#include "gis/records_join.hpp"
#include "gis/regions_layer.hpp"
#include "gis/sheet_table.hpp"

namespace el::gis {
namespace {

vec::ImportedRecords built(std::vector<vec::Record> found, const vec::RecordsSource& source, const RegionsLayer* layer,
                           std::vector<std::string> summary) {
    vec::BuildOptions options;
    options.absent = source.absent;
    options.dropUnmatched = source.dropUnmatched;
    if (layer != nullptr) options.shapes = &layer->shapes;
    vec::ImportedRecords imported{vec::buildRecordsData(std::move(found), options), std::move(summary)};
    imported.summary.push_back(imported.built.summaryLine() + (layer != nullptr ? layerNote(*layer) : ""));
    return imported;
}

vec::ImportedRecords withClause(vec::ImportedRecords imported, const std::string& clause) {
    imported.summary.back() += clause;
    return imported;
}

// The source's table, and the note that says which sheet of a workbook holds it.
RecordsSheet sourceTable(const vec::RecordsSource& source) {
    if (vec::isSpreadsheet(source.table)) return readRecordsSheet(source.table, source.sheet, source.columns);
    return {readRecordsTable(source.table, source.encoding, source.sheet), ""};
}

}  // namespace

vec::Table readRecordsTable(const std::filesystem::path& table, const std::string& encoding, const std::string& sheet,
                            const vec::RecordColumns& wanted) {
    if (vec::isSpreadsheet(table)) return readRecordsSheet(table, sheet, wanted).table;
    if (!sheet.empty())
        throw vec::RecordsError("A sheet is named (" + sheet + "), but " + table.string() +
                                " is no spreadsheet (.xlsx or .ods)");
    return vec::readTableDownload(table, encoding, gdalZipOpener());
}

vec::ImportedRecords importRecords(const vec::RecordsSource& source, Feedback& feedback) {
    if (!source.occurrences.empty()) {
        const RegionsLayer layer = readRegionsLayer(source.regions, source.regionsLayer, source.joinField);
        const OccurrenceColumns columns{source.columns.species, source.longitudeColumn, source.latitudeColumn,
                                        source.columns.date};
        OccurrenceResult points =
            placeOccurrences(source.occurrences, layer, columns, feedback, source.encoding,
                             OccurrenceRules{source.keepSpecimens, source.filters}, source.threads);
        std::vector<std::string> notes = points.notes();
        for (std::string& note : joinRecords(points.records, source, &layer)) notes.push_back(std::move(note));
        return built(std::move(points.records), source, &layer, std::move(notes));
    }
    RecordsSheet sheet = sourceTable(source);
    vec::TableRecords found = vec::tableRecords(sheet.table, source);
    if (!sheet.note.empty()) found.notes.insert(found.notes.begin(), std::move(sheet.note));
    std::optional<RegionsLayer> layer;
    if (!source.regions.empty()) layer = readRegionsLayer(source.regions, source.regionsLayer, source.joinField);
    for (std::string& note : joinRecords(found.records, source, layer ? &*layer : nullptr))
        found.notes.push_back(std::move(note));
    return withClause(built(std::move(found.records), source, layer ? &*layer : nullptr, std::move(found.notes)),
                      found.columnsClause);
}

}  // namespace el::gis
