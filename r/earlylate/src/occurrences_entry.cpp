// el_records(occurrences =): occurrence points read and sifted by the core, placed in their
// regions by sf in R, then reduced to the earliest point of each region and species and built
// into a data set by the same core as the batch runner's --occurrences.

#include <Rcpp.h>

#include <filesystem>
#include <optional>
#include <stdexcept>

#include "frame_output.hpp"
#include "gis/occurrence_points.hpp"
#include "records_shapes.hpp"
#include "vector/records_source.hpp"

namespace {

using namespace el;
using namespace el::rpkg;

Rcpp::NumericVector countsOf(const gis::OccurrenceResult& result) {
    return Rcpp::NumericVector::create(
        Rcpp::Named("points") = static_cast<double>(result.points),
        Rcpp::Named("undated") = static_cast<double>(result.undated),
        Rcpp::Named("unnamed") = static_cast<double>(result.unnamed),
        Rcpp::Named("bad") = static_cast<double>(result.badCoordinates));
}

gis::OccurrenceResult resultOf(const Rcpp::NumericVector& counts, const Rcpp::NumericVector& badRows) {
    gis::OccurrenceResult result;
    result.points = static_cast<std::int64_t>(counts["points"]);
    result.undated = static_cast<std::int64_t>(counts["undated"]);
    result.unnamed = static_cast<std::int64_t>(counts["unnamed"]);
    result.badCoordinates = static_cast<std::int64_t>(counts["bad"]);
    for (const double line : badRows) result.badRows.push_back(static_cast<std::int64_t>(line));
    return result;
}

Rcpp::List errorOf(const std::exception& e) { return Rcpp::List::create(Rcpp::Named("error") = utf8Vector({e.what()})); }

}  // namespace

// The usable points of a points file (species, longitude, latitude, decimal year, line) and
// the counts of the lines that are not.
// [[Rcpp::export(rng = false)]]
Rcpp::List el_occurrence_points_cpp(std::string path, std::string encoding, std::string species,
                                    std::string longitude, std::string latitude, std::string date) {
    try {
        const vec::Table table =
            vec::readTableFile(std::filesystem::u8path(path), encoding, gis::occurrenceFormat(encoding));
        gis::OccurrenceResult result;
        gis::OccurrenceReader reader(table.headers, {species, longitude, latitude, date}, table.delimiter, result);
        std::vector<std::string> names;
        std::vector<double> lons, lats, dates, lines;
        gis::Cells cells;
        for (std::size_t i = 0; i < table.rows.size(); ++i) {
            cells.assign(table.rows[i].begin(), table.rows[i].end());
            std::optional<gis::OccurrencePoint> point = reader.pointOf(cells, table.rowNumbers[i]);
            if (!point) continue;
            names.push_back(std::move(point->species));
            lons.push_back(point->longitude);
            lats.push_back(point->latitude);
            dates.push_back(point->date);
            lines.push_back(static_cast<double>(point->line));
        }
        std::vector<std::string> notes;
        if (auto note = vec::encodingNote(table)) notes.push_back(std::move(*note));
        std::vector<double> badRows(result.badRows.begin(), result.badRows.end());
        return Rcpp::List::create(Rcpp::Named("species") = utf8Vector(names), Rcpp::Named("longitude") = lons,
                                  Rcpp::Named("latitude") = lats, Rcpp::Named("date") = dates,
                                  Rcpp::Named("line") = lines, Rcpp::Named("counts") = countsOf(result),
                                  Rcpp::Named("bad_rows") = badRows, Rcpp::Named("notes") = utf8Vector(notes));
    } catch (const std::runtime_error& e) {
        return errorOf(e);
    }
}

// `points` as el_occurrence_points_cpp gave them, with `region`: the 1-based index of the
// region each lies in, NA outside every region.
// [[Rcpp::export(rng = false)]]
Rcpp::List el_occurrence_records_cpp(Rcpp::List points, Rcpp::IntegerVector region, SEXP keys, Rcpp::List geometry,
                                     std::string field, std::string absent, bool dropUnmatched) {
    try {
        const std::vector<std::string> keyTexts = regionKeys(keys, field);
        const LayerShapes layer = shapesByKey(keys, geometry, field);
        gis::OccurrenceResult result = resultOf(points["counts"], points["bad_rows"]);
        const Rcpp::CharacterVector species = points["species"];
        const Rcpp::NumericVector dates = points["date"], lines = points["line"];
        gis::EarliestPoints earliest;
        for (R_xlen_t i = 0; i < region.size(); ++i) {
            if (region[i] == NA_INTEGER) {
                ++result.outside;
                continue;
            }
            if (region[i] < 1 || static_cast<std::size_t>(region[i]) > keyTexts.size())
                throw std::runtime_error("point " + std::to_string(i + 1) + " lies in no region of the layer");
            ++result.placed;
            earliest.keep(static_cast<std::size_t>(region[i] - 1),
                          {Rcpp::as<std::string>(species[i]), 0.0, 0.0, dates[i], static_cast<std::int64_t>(lines[i])});
        }
        result.records = earliest.records(keyTexts);
        std::vector<std::string> summary = Rcpp::as<std::vector<std::string>>(points["notes"]);
        summary.push_back(result.summaryLine());
        const vec::BuiltRecords built =
            vec::buildRecordsData(std::move(result.records), buildOptions(absent, dropUnmatched, &layer.shapes));
        summary.push_back(built.summaryLine() + vec::layerNote(layer.counts));
        return builtFrame(built, summary);
    } catch (const std::runtime_error& e) {
        return errorOf(e);
    }
}
