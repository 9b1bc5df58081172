#pragma once
// First-record tables: the long form in which ecologists hold their data, one row per
// record (region, species, date), turned into the data set the engine analyses, with one
// object per region and one variable per species.
//
// The pieces, each usable alone:
//   bytes -> readDelimitedTable (delimiter, encoding, BOM and line ends found) -> Table
//   Table + RecordColumns -> recordsOf (columns found by name, every bad value listed) -> records
//   records (+ the regions' shapes, from a regions layer) -> buildRecordsData -> VectorData
// Occurrence points become records too (gis/occurrences.hpp) and meet the same builder.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "vector/vector_data.hpp"

namespace el::records {

// A table as text: the header row and the data rows, every cell UTF-8.
struct Table {
    std::vector<std::string> headers;
    std::vector<std::vector<std::string>> rows;  // each as long as headers (short rows padded with "")
    std::vector<std::int64_t> rowNumbers;        // the line (1-based, the header is line 1) of each row
    TextEncoding encoding;                       // what the bytes were
    char delimiter = ',';
};

// The columns a table's records are taken from; an empty name: found by the usual header names.
struct RecordColumns {
    std::string region;
    std::string species;
    std::string date;
};

// One record: a region's key, a species and a date as written (a number, an ISO date or a
// keyword). `row` is the source line, for messages (0 where there is none, e.g. a point).
struct Record {
    std::string region;
    std::string species;
    std::string date;
    std::int64_t row = 0;
};

// What a (region, species) pair without any record stands for.
enum class Absence { NotYet, Unknown };

// The geometry a region takes from a regions layer.
struct RegionShape {
    std::string type;                // a vector file object type
    std::vector<VectorPart> parts;
};

struct BuildOptions {
    Absence absent = Absence::NotYet;
    // Shapes by region key; null: a data set without geometry.
    const std::map<std::string, RegionShape>* shapes = nullptr;
    // With shapes: a region the layer lacks is dropped (and listed) instead of refused.
    bool dropUnmatched = false;
};

// The data set and the counts the summary line reports.
struct BuiltRecords {
    VectorData data;
    std::int64_t records = 0;       // records read
    std::int64_t merged = 0;        // records merged into an earlier one of the same pair
    std::int64_t absentCells = 0;   // pairs without a record
    Absence absentAs = Absence::NotYet;
    std::vector<std::string> dropped;  // regions without a shape, dropped
    std::int64_t featuresUnused = 0;   // shapes with no record (left out)
    std::string summaryLine() const;
};

}  // namespace el::records
