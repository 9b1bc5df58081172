// el_records(occurrences =): occurrence points read and sifted by the core, placed in their
// regions by sf in R, then reduced to the earliest point of each region and species and built
// into a data set by the same core as the batch runner's --occurrences. The points come from a
// delimited file, a zip holding one, or a Darwin Core archive (zip or folder), read as the
// batch runner reads them; only the zip itself is opened by R.

#include <Rcpp.h>

#include <filesystem>
#include <optional>
#include <stdexcept>

#include "frame_output.hpp"
#include "gis/occurrence_points.hpp"
#include "r_hooks.hpp"
#include "r_zip.hpp"
#include "records_shapes.hpp"
#include "vector/download_zip.hpp"
#include "vector/records_subset.hpp"

namespace {

using namespace el;
using namespace el::rpkg;

constexpr std::size_t kBatchPoints = 8192;

// The counts of a result, by name, as R hands them back.
Rcpp::NumericVector countsOf(const gis::OccurrenceResult& result) {
    const auto number = [](auto value) { return static_cast<double>(value); };
    return Rcpp::NumericVector::create(
        Rcpp::Named("points") = number(result.points), Rcpp::Named("undated") = number(result.undated),
        Rcpp::Named("unnamed") = number(result.unnamed), Rcpp::Named("bad") = number(result.badCoordinates),
        Rcpp::Named("absent") = number(result.absent), Rcpp::Named("fossils") = number(result.fossils),
        Rcpp::Named("living") = number(result.living), Rcpp::Named("status_read") = number(result.statusRead),
        Rcpp::Named("basis_read") = number(result.basisRead),
        Rcpp::Named("specimens_kept") = number(result.specimensKept));
}

gis::OccurrenceResult resultOf(const Rcpp::List& points) {
    const Rcpp::NumericVector counts = points["counts"];
    const auto count = [&](const char* name) { return static_cast<std::int64_t>(counts[name]); };
    gis::OccurrenceResult result;
    result.points = count("points");
    result.undated = count("undated");
    result.unnamed = count("unnamed");
    result.badCoordinates = count("bad");
    result.absent = count("absent");
    result.fossils = count("fossils");
    result.living = count("living");
    result.statusRead = count("status_read") != 0;
    result.basisRead = count("basis_read") != 0;
    result.specimensKept = count("specimens_kept") != 0;
    for (const double line : Rcpp::NumericVector(points["bad_rows"]))
        result.badRows.push_back(static_cast<std::int64_t>(line));
    result.filterNote = Rcpp::as<std::string>(points["filter_note"]);
    return result;
}

// The usable points, column by column.
struct PointColumns {
    std::vector<std::string> names;
    std::vector<double> lons, lats, dates, lines;

    void add(std::vector<gis::OccurrencePoint>& batch) {
        for (gis::OccurrencePoint& point : batch) {
            names.push_back(std::move(point.species));
            lons.push_back(point.longitude);
            lats.push_back(point.latitude);
            dates.push_back(point.date);
            lines.push_back(static_cast<double>(point.line));
        }
    }
};

Rcpp::List errorOf(const std::exception& e) { return Rcpp::List::create(Rcpp::Named("error") = utf8Vector({e.what()})); }

}  // namespace

// The usable points of a download (species, longitude, latitude, decimal year, line) and the
// counts of the lines that are not; `filters` ("COLUMN=VALUE[,VALUE...]") choose the lines read
// and `keepSpecimens` keeps fossils and living specimens. A zip is read by R.
// [[Rcpp::export(rng = false)]]
Rcpp::List el_occurrence_points_cpp(std::string path, std::string encoding, std::string species,
                                    std::string longitude, std::string latitude, std::string date, bool keepSpecimens,
                                    std::vector<std::string> filters) {
    PointColumns columns;
    gis::OccurrenceResult result;
    try {
        const std::unique_ptr<vec::DownloadLines> lines = vec::openDownloadWith(
            std::filesystem::u8path(path), gis::occurrenceFormat(encoding), encoding, rZipOpener(packageZipFunctions()));
        const gis::OccurrenceRules rules{keepSpecimens, filters};
        gis::OccurrenceReader reader(lines->headers(), {species, longitude, latitude, date}, lines->delimiter(), result,
                                     rules);
        vec::LineFilters lineFilters(lines->headers(), filters);
        RFeedback feedback;
        gis::readOccurrencePoints(*lines, reader, lineFilters, feedback, kBatchPoints,
                                  [&](std::vector<gis::OccurrencePoint> batch) {
                                      columns.add(batch);
                                      return true;
                                  });
        gis::finishFilters(lineFilters, result);
    } catch (const Cancelled&) {
        raiseInterrupt();
    } catch (const std::runtime_error& e) {
        return errorOf(e);
    }
    std::vector<double> badRows(result.badRows.begin(), result.badRows.end());
    return Rcpp::List::create(Rcpp::Named("species") = utf8Vector(columns.names), Rcpp::Named("longitude") = columns.lons,
                              Rcpp::Named("latitude") = columns.lats, Rcpp::Named("date") = columns.dates,
                              Rcpp::Named("line") = columns.lines, Rcpp::Named("counts") = countsOf(result),
                              Rcpp::Named("bad_rows") = badRows,
                              Rcpp::Named("filter_note") = utf8Vector({result.filterNote}));
}

// The region of each feature of a layer, as the batch runner's regions layer makes them: the
// 1-based index of its key among the keys in order of their first feature, NA for a feature
// left out (no key, or `empty`). Features that share a key are one region.
// [[Rcpp::export(rng = false)]]
Rcpp::IntegerVector el_feature_regions_cpp(SEXP keys, SEXP empty) {
    const RegionOrder order = regionOrder(keys, empty);
    return Rcpp::IntegerVector(order.regionOfFeature.begin(), order.regionOfFeature.end());
}

// `points` as el_occurrence_points_cpp gave them, with `region`: the 1-based index of the
// region each lies in (el_feature_regions_cpp), NA outside every region. `minRegions`: the
// species kept are those placed in at least this many regions.
// [[Rcpp::export(rng = false)]]
Rcpp::List el_occurrence_records_cpp(Rcpp::List points, Rcpp::IntegerVector region, SEXP keys, Rcpp::List geometry,
                                     SEXP empty, std::string field, std::string absent, bool dropUnmatched,
                                     int minRegions) {
    try {
        const std::vector<std::string> keysInOrder = regionOrder(keys, empty).keys;
        const LayerShapes layer = shapesByKey(keys, geometry, field, empty);
        gis::OccurrenceResult result = resultOf(points);
        const Rcpp::CharacterVector species = points["species"];
        const Rcpp::NumericVector dates = points["date"], lines = points["line"];
        gis::EarliestPoints earliest;
        for (R_xlen_t i = 0; i < region.size(); ++i) {
            if (region[i] == NA_INTEGER) {
                ++result.outside;
                continue;
            }
            if (region[i] < 1 || static_cast<std::size_t>(region[i]) > keysInOrder.size())
                throw std::runtime_error("point " + std::to_string(i + 1) + " lies in no region of the layer");
            ++result.placed;
            earliest.keep(static_cast<std::size_t>(region[i] - 1),
                          {Rcpp::as<std::string>(species[i]), 0.0, 0.0, dates[i], static_cast<std::int64_t>(lines[i])});
        }
        result.records = earliest.records(keysInOrder);
        std::vector<std::string> summary = result.notes();
        const auto everyRecord = [](const vec::Record&) { return true; };  // placed points lie in the layer
        if (std::string note = vec::keepSpeciesInRegions(result.records, minRegions, everyRecord, ""); !note.empty())
            summary.push_back(std::move(note));
        const vec::BuiltRecords built =
            vec::buildRecordsData(std::move(result.records), buildOptions(absent, dropUnmatched, &layer.shapes));
        summary.push_back(built.summaryLine() + vec::layerNote(layer.counts));
        return builtFrame(built, summary);
    } catch (const std::runtime_error& e) {
        return errorOf(e);
    }
}
