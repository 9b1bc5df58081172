// el_records(): a first-record table (a data frame, a delimited file or a spreadsheet) joined
// to regions whose shapes come from sf, built into a data set by the same core as the batch
// runner's --records.

#include <Rcpp.h>

#include <filesystem>
#include <map>
#include <stdexcept>

#include "frame_input.hpp"
#include "frame_output.hpp"
#include "gis/records_import.hpp"
#include "gis/sheet_table.hpp"
#include "r_hooks.hpp"
#include "vector/records.hpp"
#include "vector/records_source.hpp"

namespace {

using namespace el;
using namespace el::rpkg;

std::string utf8(SEXP text) { return text == NA_STRING ? std::string() : Rf_translateCharUTF8(text); }

std::string textOf(const Rcpp::List& list, const char* name) {
    return Rcpp::as<std::string>(list[name]);
}

// list(path, encoding): a delimited text file or a spreadsheet's first sheet, as the batch
// runner reads them.
records::Table tableOfFile(const Rcpp::List& source) {
    const std::filesystem::path path = std::filesystem::u8path(textOf(source, "path"));
    if (records::isSpreadsheet(path)) return gis::readSheetTable(path);
    return records::readTableFile(path, textOf(source, "encoding"));
}

// list(headers, columns): a data frame's cells as texts, rows numbered as R numbers them.
records::Table tableOfFrame(const Rcpp::List& source) {
    records::Table table;
    const Rcpp::CharacterVector headers = source["headers"];
    const Rcpp::List columns = source["columns"];
    for (R_xlen_t j = 0; j < headers.size(); ++j) table.headers.push_back(utf8(headers[j]));
    const R_xlen_t rows = columns.size() == 0 ? 0 : Rf_xlength(columns[0]);
    for (R_xlen_t i = 0; i < rows; ++i) {
        std::vector<std::string> row;
        for (R_xlen_t j = 0; j < columns.size(); ++j) row.push_back(plainCellText(columns[j], i));
        table.rows.push_back(std::move(row));
        table.rowNumbers.push_back(i + 1);
    }
    return table;
}

records::Table tableOf(const Rcpp::List& source) {
    return source.containsElementNamed("path") ? tableOfFile(source) : tableOfFrame(source);
}

// The regions' shapes by their keys; a key two regions share is refused, a missing key is
// left out (no record can name it).
std::map<std::string, records::RegionShape> shapesOf(SEXP keys, const Rcpp::List& geometry) {
    std::map<std::string, records::RegionShape> shapes;
    for (R_xlen_t i = 0; i < geometry.size(); ++i) {
        const std::string key = plainCellText(keys, i);
        if (key.empty()) continue;
        gis::VectorShape shape = shapeOfWkb(geometry[i], key);
        if (!shapes.emplace(key, records::RegionShape{shape.type, std::move(shape.parts)}).second)
            throw std::runtime_error("The key \"" + key + "\" is shared by two regions of the regions layer");
    }
    return shapes;
}

records::RecordColumns columnsOf(const Rcpp::List& columns, const std::string& joinColumn) {
    return {textOf(columns, "region"), textOf(columns, "species"), textOf(columns, "date"), joinColumn};
}

Rcpp::List builtFrame(const records::BuiltRecords& built, const std::vector<std::string>& summary) {
    Rcpp::List frame = frameOfData(built.data, kMissValue);
    frame["summary"] = utf8Vector(summary);
    return frame;
}

records::Absence absenceOf(const std::string& absent) {
    return absent == "unknown" ? records::Absence::Unknown : records::Absence::NotYet;
}

}  // namespace

// [[Rcpp::export(rng = false)]]
Rcpp::List el_records_cpp(Rcpp::List table, Rcpp::List columns, SEXP keys, SEXP geometry, std::string absent,
                          std::string joinColumn, bool dropUnmatched) {
    try {
        records::BuildOptions options;
        options.absent = absenceOf(absent);
        options.dropUnmatched = dropUnmatched;
        std::map<std::string, records::RegionShape> shapes;
        if (!Rf_isNull(geometry)) {
            shapes = shapesOf(keys, Rcpp::List(geometry));
            options.shapes = &shapes;
        }
        const records::Table cells = tableOf(table);
        std::vector<std::string> summary;
        if (auto note = records::encodingNote(cells)) summary.push_back(std::move(*note));
        const records::BuiltRecords built =
            records::buildRecordsData(records::recordsOf(cells, columnsOf(columns, joinColumn)), options);
        summary.push_back(built.summaryLine());
        return builtFrame(built, summary);
    } catch (const std::runtime_error& e) {
        return Rcpp::List::create(Rcpp::Named("error") = utf8Vector({e.what()}));
    }
}

// Occurrence points placed in a regions layer's regions: the batch runner's --occurrences.
// [[Rcpp::export(rng = false)]]
Rcpp::List el_occurrences_cpp(std::string points, std::string regions, std::string layer, std::string field,
                              std::string species, std::string date, std::string longitude, std::string latitude,
                              std::string absent, bool dropUnmatched) {
    records::RecordsSource source;
    source.occurrences = std::filesystem::u8path(points);
    source.regions = std::filesystem::u8path(regions);
    source.regionsLayer = layer;
    source.joinField = field;
    source.columns.species = species;
    source.columns.date = date;
    source.longitudeColumn = longitude;
    source.latitudeColumn = latitude;
    source.absent = absenceOf(absent);
    source.dropUnmatched = dropUnmatched;
    RFeedback feedback;
    try {
        const records::ImportedRecords imported = gis::importRecords(source, feedback);
        return builtFrame(imported.built, imported.summary);
    } catch (const Cancelled&) {
        raiseInterrupt();
    } catch (const std::runtime_error& e) {
        return Rcpp::List::create(Rcpp::Named("error") = utf8Vector({e.what()}));
    }
}
