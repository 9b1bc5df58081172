// el_records(): a first-record table (a data frame, a delimited file, a zip or archive holding
// one, or a spreadsheet read into a data frame by sf) joined to regions whose shapes come from
// sf, built into a data set by the same core as the batch runner's --records.

#include <Rcpp.h>

#include <filesystem>
#include <optional>
#include <stdexcept>

#include "frame_input.hpp"
#include "frame_output.hpp"
#include "gis/country_join.hpp"
#include "r_zip.hpp"
#include "records_shapes.hpp"
#include "vector/download_zip.hpp"
#include "vector/records.hpp"
#include "vector/records_source.hpp"
#include "vector/records_subset.hpp"
#include "vector/sheet_choice.hpp"

namespace {

using namespace el;
using namespace el::rpkg;

std::string utf8(SEXP text) { return text == NA_STRING ? std::string() : Rf_translateCharUTF8(text); }

std::string textOf(const Rcpp::List& list, const char* name) { return Rcpp::as<std::string>(list[name]); }

// list(path, encoding): a delimited text file, a zip holding one or a Darwin Core archive, as
// the batch runner reads it; a zip is opened by R.
vec::Table tableOfFile(const Rcpp::List& source) {
    return vec::readTableDownload(std::filesystem::u8path(textOf(source, "path")), textOf(source, "encoding"),
                                  rZipOpener(packageZipFunctions()));
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

// list(alpha_2, alpha_3, numeric, name, official_name, common_name): the iso-codes data as R
// read it, one entry per country, NA where a country has no such name.
std::vector<gis::Country> countriesOf(const Rcpp::List& data) {
    const Rcpp::CharacterVector alpha2 = data["alpha_2"], alpha3 = data["alpha_3"], numeric = data["numeric"];
    const Rcpp::List names = Rcpp::List::create(data["name"], data["official_name"], data["common_name"]);
    std::vector<gis::Country> countries;
    for (R_xlen_t i = 0; i < alpha2.size(); ++i) {
        gis::Country country{utf8(alpha2[i]), utf8(alpha3[i]), utf8(numeric[i]), {}};
        for (R_xlen_t k = 0; k < names.size(); ++k)
            if (std::string name = utf8(Rcpp::CharacterVector(names[k])[i]); !name.empty())
                country.names.push_back(std::move(name));
        if (!country.complete())
            throw std::runtime_error("entry " + std::to_string(i + 1) +
                                     " of the country codes lacks its alpha_2, alpha_3, numeric code or name");
        countries.push_back(std::move(country));
    }
    return countries;
}

// The records' join keys turned into the layer's country codes of `kind`.
void joinCountries(std::vector<vec::Record>& records, const std::string& kind, SEXP countries,
                   const RegionShapes& shapes, const std::string& column) {
    const std::optional<gis::CountryCodeKind> codes = gis::countryCodeKindOf(kind);
    if (!codes) throw std::runtime_error("country_codes must be \"numeric\", \"alpha-2\" or \"alpha-3\"");
    const gis::CountryNames names(countriesOf(Rcpp::List(countries)));
    gis::joinCountryCodes(records, names, *codes, shapes, column);
}

}  // namespace

// `filters`: "COLUMN=VALUE[,VALUE...]", the rows kept; `minRegions`: the species kept are
// those recorded in at least this many regions (of the layer, when there is one);
// `countryCodes` ("" for none): the join column holds country names, the layer's keys codes
// of that kind, looked up in `countries`.
// [[Rcpp::export(rng = false)]]
Rcpp::List el_records_cpp(Rcpp::List table, Rcpp::List columns, SEXP keys, SEXP geometry, SEXP empty, std::string field,
                          std::string absent, std::string joinColumn, bool dropUnmatched,
                          std::vector<std::string> filters, int minRegions, std::string countryCodes, SEXP countries) {
    try {
        vec::Table cells = tableOf(table);
        vec::RecordsSource source;
        source.columns = columnsOf(columns, joinColumn);
        source.filters = std::move(filters);
        vec::TableRecords found = vec::tableRecords(cells, source);
        const bool withShapes = !Rf_isNull(geometry);
        const LayerShapes layer = withShapes ? shapesByKey(keys, Rcpp::List(geometry), field, empty) : LayerShapes{};
        if (!countryCodes.empty()) joinCountries(found.records, countryCodes, countries, layer.shapes, joinColumn);
        const auto joined = [&](const vec::Record& record) {
            return !withShapes || layer.shapes.count(record.joinKey()) > 0;
        };
        std::vector<std::string> summary = std::move(found.notes);
        if (std::string note = vec::keepSpeciesInRegions(found.records, minRegions, joined, ""); !note.empty())
            summary.push_back(std::move(note));
        const vec::BuiltRecords built = vec::buildRecordsData(
            std::move(found.records), buildOptions(absent, dropUnmatched, withShapes ? &layer.shapes : nullptr));
        summary.push_back(built.summaryLine() + (withShapes ? vec::layerNote(layer.counts) : "") + found.columnsClause);
        return builtFrame(built, summary);
    } catch (const std::runtime_error& e) {
        return Rcpp::List::create(Rcpp::Named("error") = utf8Vector({e.what()}));
    }
}

// Where the iso-codes data is looked for, as the batch runner looks for it.
// [[Rcpp::export(rng = false)]]
std::string el_iso_countries_file_cpp() { return gis::isoCountriesFile().string(); }

// The sheet of a workbook that holds the records, chosen as the batch runner chooses it:
// list(index (1-based), note), or list(error).
// [[Rcpp::export(rng = false)]]
Rcpp::List el_choose_sheet_cpp(std::vector<std::string> names, Rcpp::List headers, Rcpp::List columns,
                               std::string joinColumn, std::string sheet, std::string file) {
    try {
        std::vector<vec::SheetHeaders> sheets;
        for (std::size_t i = 0; i < names.size(); ++i)
            sheets.push_back({names[i], Rcpp::as<std::vector<std::string>>(headers[static_cast<R_xlen_t>(i)])});
        const vec::SheetChoice choice = vec::chooseSheet(sheets, columnsOf(columns, joinColumn), sheet, file);
        return Rcpp::List::create(Rcpp::Named("index") = static_cast<double>(choice.index + 1),
                                  Rcpp::Named("note") = utf8Vector({choice.note}));
    } catch (const std::runtime_error& e) {
        return Rcpp::List::create(Rcpp::Named("error") = utf8Vector({e.what()}));
    }
}
