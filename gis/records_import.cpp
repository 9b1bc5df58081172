#include "gis/records_import.hpp"

#include <optional>

#include "gis/occurrences.hpp"
#include "gis/records_join.hpp"
#include "gis/regions_layer.hpp"
#include "gis/sheet_table.hpp"
#include "vector/records_subset.hpp"

namespace el::gis {
namespace {

vec::Table tableOf(const vec::RecordsSource& source) {
    if (vec::isSpreadsheet(source.table)) return readSheetTable(source.table);
    return vec::readTableFile(source.table, source.encoding);
}

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

}  // namespace

vec::ImportedRecords importRecords(const vec::RecordsSource& source, Feedback& feedback) {
    if (!source.occurrences.empty()) {
        const RegionsLayer layer = readRegionsLayer(source.regions, source.regionsLayer, source.joinField);
        const OccurrenceColumns columns{source.columns.species, source.longitudeColumn, source.latitudeColumn,
                                        source.columns.date};
        OccurrenceResult points = placeOccurrences(source.occurrences, layer, columns, feedback);
        std::vector<std::string> notes{points.summaryLine()};
        for (std::string& note : joinRecords(points.records, source, &layer)) notes.push_back(std::move(note));
        return built(std::move(points.records), source, &layer, std::move(notes));
    }
    vec::Table table = tableOf(source);
    std::vector<std::string> notes;
    if (auto note = vec::encodingNote(table)) notes.push_back(std::move(*note));
    if (std::string note = vec::filterRows(table, source.filters); !note.empty()) notes.push_back(std::move(note));
    std::vector<vec::Record> found = vec::recordsOf(table, source.columns);
    std::optional<RegionsLayer> layer;
    if (!source.regions.empty()) layer = readRegionsLayer(source.regions, source.regionsLayer, source.joinField);
    for (std::string& note : joinRecords(found, source, layer ? &*layer : nullptr)) notes.push_back(std::move(note));
    return built(std::move(found), source, layer ? &*layer : nullptr, std::move(notes));
}

}  // namespace el::gis
