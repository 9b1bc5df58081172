// el_records(): a first-record table (a data frame, a delimited file, or a spreadsheet read
// into a data frame by sf) joined to regions whose shapes come from sf, built into a data set
// by the same core as the batch runner's --records.

#include <Rcpp.h>

#include <filesystem>
#include <stdexcept>

#include "frame_input.hpp"
#include "frame_output.hpp"
#include "records_shapes.hpp"
#include "vector/records.hpp"
#include "vector/records_source.hpp"

namespace {

using namespace el;
using namespace el::rpkg;

std::string utf8(SEXP text) { return text == NA_STRING ? std::string() : Rf_translateCharUTF8(text); }

std::string textOf(const Rcpp::List& list, const char* name) { return Rcpp::as<std::string>(list[name]); }

// list(path, encoding): a delimited text file, as the batch runner reads it.
vec::Table tableOfFile(const Rcpp::List& source) {
    return vec::readTableFile(std::filesystem::u8path(textOf(source, "path")), textOf(source, "encoding"));
}

// list(headers, columns, first_line): a data frame's cells as texts, the first row on line
// `first_line` (1 for a data frame, as R numbers its rows; 2 for a sheet below its header).
vec::Table tableOfFrame(const Rcpp::List& source) {
    vec::Table table;
    const Rcpp::CharacterVector headers = source["headers"];
    const Rcpp::List columns = source["columns"];
    const auto firstLine = static_cast<std::int64_t>(Rcpp::as<double>(source["first_line"]));
    for (R_xlen_t j = 0; j < headers.size(); ++j) table.headers.push_back(utf8(headers[j]));
    const R_xlen_t rows = columns.size() == 0 ? 0 : Rf_xlength(columns[0]);
    for (R_xlen_t i = 0; i < rows; ++i) {
        std::vector<std::string> row;
        for (R_xlen_t j = 0; j < columns.size(); ++j) row.push_back(plainCellText(columns[j], i));
        table.rows.push_back(std::move(row));
        table.rowNumbers.push_back(firstLine + i);
    }
    return table;
}

vec::Table tableOf(const Rcpp::List& source) {
    return source.containsElementNamed("path") ? tableOfFile(source) : tableOfFrame(source);
}

vec::RecordColumns columnsOf(const Rcpp::List& columns, const std::string& joinColumn) {
    return {textOf(columns, "region"), textOf(columns, "species"), textOf(columns, "date"), joinColumn};
}

}  // namespace

// [[Rcpp::export(rng = false)]]
Rcpp::List el_records_cpp(Rcpp::List table, Rcpp::List columns, SEXP keys, SEXP geometry, std::string absent,
                          std::string joinColumn, bool dropUnmatched) {
    try {
        vec::Table cells = tableOf(table);
        // The table's records read as the batch runner reads them: absent rows set aside, the
        // notes, and the columns used named in the summary line.
        vec::RecordsSource source;
        source.columns = columnsOf(columns, joinColumn);
        vec::TableRecords found = vec::tableRecords(cells, source);
        std::vector<std::string> summary = std::move(found.notes);
        const RegionShapes shapes = Rf_isNull(geometry) ? RegionShapes{} : shapesByKey(keys, Rcpp::List(geometry));
        const vec::BuiltRecords built = vec::buildRecordsData(
            std::move(found.records), buildOptions(absent, dropUnmatched, Rf_isNull(geometry) ? nullptr : &shapes));
        summary.push_back(built.summaryLine() + found.columnsClause);
        return builtFrame(built, summary);
    } catch (const std::runtime_error& e) {
        return Rcpp::List::create(Rcpp::Named("error") = utf8Vector({e.what()}));
    }
}
