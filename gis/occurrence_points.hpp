#pragma once
// The part of placing occurrence points that needs no geometry library: finding the columns
// of a points file, reading one data line into a point (or counting why it is not one),
// keeping the earliest point of each (region, species), and the summary line. The region a
// point falls in is the caller's to find (gis/occurrences.hpp uses the regions layer's
// locator; the R package uses sf).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/feedback.hpp"
#include "vector/delimited_text.hpp"
#include "vector/download_lines.hpp"
#include "vector/records.hpp"
#include "vector/records_subset.hpp"

namespace el::gis {

// The columns to read; an empty name: found by the usual header names in any letter case
// (species / scientificName; decimalLongitude / longitude / lon / x; decimalLatitude /
// latitude / lat / y; year and eventDate / date, a filled year winning over the date). The
// columns occurrenceStatus and basisOfRecord are read where the file has them.
struct OccurrenceColumns {
    std::string species, longitude, latitude, date;
};

// Which points are first records of a wild population: not those whose occurrenceStatus says
// absent, nor fossils and living specimens (zoos, gardens, collections) unless kept.
// The lines read are those every filter keeps ("COLUMN=VALUE[,VALUE...]", as a records
// table's rows are filtered: vector/records_subset.hpp).
struct OccurrenceRules {
    bool keepSpecimens = false;
    std::vector<std::string> filters{};
};

struct OccurrenceResult {
    std::vector<vec::Record> records;            // one per (region, species), in order of region then species
    std::int64_t points = 0;                     // data lines read (of those the filters keep)
    std::int64_t placed = 0;                     // points that landed in a region with a date and a species
    std::int64_t outside = 0;                    // in no region
    std::int64_t undated = 0;                    // no usable year or date
    std::int64_t unnamed = 0;                    // no species
    std::int64_t badCoordinates = 0;             // not numbers, or outside -180..180 / -90..90
    std::vector<std::int64_t> badRows;           // the first few lines with bad coordinates
    std::int64_t absent = 0;                     // occurrenceStatus absent
    std::int64_t fossils = 0;                    // basisOfRecord FOSSIL_SPECIMEN
    std::int64_t living = 0;                     // basisOfRecord LIVING_SPECIMEN
    bool statusRead = false, basisRead = false;  // the file has these columns
    bool specimensKept = false;
    std::string filterNote;  // how many lines the filters kept; "" without filters
    std::string summaryLine() const;
    // The lines that tell the user what the points gave: the filters' note, then the summary line.
    std::vector<std::string> notes() const;
};

// The cells of one data line, as the delimited-text reader hands them out.
using Cells = std::vector<std::string_view>;

// A data line that holds a usable point.
struct OccurrencePoint {
    std::string species;  // trimmed, UTF-8
    double longitude = 0.0;
    double latitude = 0.0;
    double date = 0.0;  // decimal year
    std::int64_t line = 0;
};

// Reads the data lines of one points file into points; lines of an absence or a specimen set
// aside, with bad coordinates, without a species or without a date are counted in the result
// instead, each for the first of these reasons it has. Each line is counted in `points` as it
// is read.
class OccurrenceReader {
public:
    // Throws GisError when a column is not found, naming the headers the file has.
    OccurrenceReader(const std::vector<std::string>& headers, const OccurrenceColumns& columns, char delimiter,
                     OccurrenceResult& result, OccurrenceRules rules = {});

    // Throws GisError for a species that is not UTF-8.
    std::optional<OccurrencePoint> pointOf(const Cells& cells, std::int64_t line);

    struct Indexes {
        int species = -1, longitude = -1, latitude = -1, year = -1, date = -1, status = -1, basis = -1;
    };

private:
    bool setAside(const Cells& cells);

    Indexes columns_;
    OccurrenceRules rules_;
    char delimiter_;
    OccurrenceResult& result_;
};

// How occurrence files are read: the delimiter found on the header line, fields quoted
// except in a tab-separated file (downloads write a quote there as a character), every line
// with as many fields as the header, UTF-8 lines as they are and the others in the encoding
// their bytes suggest (or all in `encoding`).
vec::DelimitedFormat occurrenceFormat(const std::string& encoding = "auto");

// Reads every line of a download into points, in line order, handing them on `batchPoints` at
// a time (the last batch may be shorter); stops early when `handOn` returns false. A line the
// filters drop gives no point and is not counted as one. Feedback's checkpoint is called every few thousand lines, and
// the read-progress caption every hundred thousand.
template <class HandOn>
void readOccurrencePoints(vec::DownloadLines& lines, OccurrenceReader& reader, vec::LineFilters& filters,
                          Feedback& feedback, std::size_t batchPoints, HandOn&& handOn) {
    constexpr std::int64_t kCheckpointEvery = 4096;
    constexpr std::int64_t kCaptionEvery = 100000;
    std::vector<OccurrencePoint> batch;
    for (std::int64_t read = 1; lines.next(); ++read) {
        if (read % kCheckpointEvery == 0) {
            feedback.checkpoint();
            if (read % kCaptionEvery < kCheckpointEvery)
                feedback.caption(Label::ReadProgress, "Occurrence points read: " + std::to_string(read));
        }
        if (!filters.empty() && !filters.keeps(lines.cells())) continue;
        std::optional<OccurrencePoint> point = reader.pointOf(lines.cells(), lines.line());
        if (!point) continue;
        batch.push_back(std::move(*point));
        if (batch.size() == batchPoints && !handOn(std::exchange(batch, {}))) return;
    }
    if (!batch.empty()) handOn(std::move(batch));
}

// After the last line: refuses a filter that kept no line (vec::RecordsError) and keeps the
// filters' note in `result`.
void finishFilters(const vec::LineFilters& filters, OccurrenceResult& result);

// The earliest point of each (region, species); a later point of the same date keeps the first.
// Millions of points pass here: each species name is looked up once per point by its hash,
// and a pair by two numbers; the order by name is made once, for the records.
class EarliestPoints {
public:
    void keep(std::size_t region, OccurrencePoint point);
    // One record per pair, in order of region then species, each named by its region's key.
    std::vector<vec::Record> records(const std::vector<std::string>& keys) const;

private:
    struct Earliest {
        double date;
        std::int64_t line;
    };
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
    };
    std::uint32_t speciesIndex(std::string&& species);

    std::unordered_map<std::string, std::uint32_t, NameHash, std::equal_to<>> speciesIndexes_;
    std::vector<std::string> species_;                      // by index
    std::unordered_map<std::uint64_t, Earliest> earliest_;  // by region * 2^32 + species index
};

}  // namespace el::gis
