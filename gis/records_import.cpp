#include "gis/records_import.hpp"

#include <optional>

#include "gis/occurrences.hpp"
#include "gis/regions_layer.hpp"
#include "gis/sheet_table.hpp"

namespace el::gis {
namespace {

records::Table tableOf(const records::RecordsSource& source) {
    if (records::isSpreadsheet(source.table)) return readSheetTable(source.table);
    return records::readTableFile(source.table, source.encoding);
}

records::ImportedRecords built(std::vector<records::Record> found, const records::RecordsSource& source,
                               const RegionsLayer* layer, std::vector<std::string> summary) {
    records::BuildOptions options;
    options.absent = source.absent;
    options.dropUnmatched = source.dropUnmatched;
    if (layer != nullptr) options.shapes = &layer->shapes;
    records::ImportedRecords imported{records::buildRecordsData(std::move(found), options), std::move(summary)};
    imported.summary.push_back(imported.built.summaryLine());
    return imported;
}

}  // namespace

records::ImportedRecords importRecords(const records::RecordsSource& source, Feedback& feedback) {
    if (!source.occurrences.empty()) {
        const RegionsLayer layer = readRegionsLayer(source.regions, source.regionsLayer, source.joinField);
        const OccurrenceColumns columns{source.columns.species, source.longitudeColumn, source.latitudeColumn,
                                        source.columns.date};
        OccurrenceResult points = placeOccurrences(source.occurrences, layer, columns, feedback);
        return built(std::move(points.records), source, &layer, {points.summaryLine()});
    }
    const records::Table table = tableOf(source);
    std::vector<std::string> notes;
    if (auto note = records::encodingNote(table)) notes.push_back(std::move(*note));
    std::vector<records::Record> found = records::recordsOf(table, source.columns);
    if (source.regions.empty()) return built(std::move(found), source, nullptr, std::move(notes));
    const RegionsLayer layer = readRegionsLayer(source.regions, source.regionsLayer, source.joinField);
    return built(std::move(found), source, &layer, std::move(notes));
}

}  // namespace el::gis
