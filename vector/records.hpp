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
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "vector/delimited_text.hpp"
#include "vector/records_error.hpp"
#include "vector/vector_data.hpp"

namespace el::vec {

// A table as text: the header row and the data rows, every cell UTF-8.
struct Table {
    std::vector<std::string> headers;
    std::vector<std::vector<std::string>> rows;  // each as long as headers (short rows padded with "")
    std::vector<std::int64_t> rowNumbers;        // the line (1-based, the header is line 1) of each row
    TextEncoding encoding;                       // what the bytes were
    std::int64_t otherEncodingLines = 0;         // lines of a UTF-8 text read in another encoding
    std::string otherEncoding{};                 // which one
    char delimiter = ',';
};

// The columns a table's records are taken from; an empty name: found by the usual header names.
struct RecordColumns {
    std::string region;
    std::string species;
    std::string date;
    std::string key{};  // the column that joins a row to the regions layer; empty: the region column
};

// One record: a region's key, a species and a date as written (a number, an ISO date or a
// keyword). `row` is the source line, for messages (0 where there is none, e.g. a point).
struct Record {
    std::string region;
    std::string species;
    std::string date;
    std::int64_t row = 0;
    std::string key{};  // the region's key in the regions layer; empty: the region itself
    const std::string& joinKey() const { return key.empty() ? region : key; }
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

// A delimited text table (by default: comma, semicolon or tab, found on the header line
// outside quotes; fields quoted as RFC 4180 says; CR LF, LF or CR line ends; blank lines
// skipped; short rows padded). `encodingChoice` as the Read step takes it ("auto", or an
// encoding name); a text that is UTF-8 but for some lines is read line by line.
Table readDelimitedTable(std::string_view bytes, const std::string& encodingChoice, const DelimitedFormat& format = {});

// The columns a table's records come from, as its header names them: each named column
// found exactly, else ignoring ASCII case; each unnamed one by the usual header names.
RecordColumns resolveColumns(const Table& table, const RecordColumns& wanted);

// What keeps `headers` from giving the columns `wanted` asks for, as resolveColumns finds
// them: "no region column", "no column \"Taxon\" for the species", or the reason it gives;
// "" when they give them all.
std::string columnsFault(const std::vector<std::string>& headers, const RecordColumns& wanted);

// One record per row. Every row with an empty region or species, or a date that is neither a
// number, an ISO date (YYYY-MM-DD) nor a keyword, is listed in one error.
std::vector<Record> recordsOf(const Table& table, const RecordColumns& wanted);

// Removes the rows whose status column (occurrenceStatus or PresentStatus, any case) says
// absent (vector/record_status.hpp): a record of absence is no arrival. Any other status
// (established, casual, extinct, eradicated) stays. How many were removed.
std::int64_t setAsideAbsentRows(Table& table);

// What the records summary line adds: the columns the records came from (`used`, as
// resolveColumns gives them) and how many absent rows were set aside.
std::string columnsClause(const RecordColumns& used, std::int64_t absentRows);

// The data set: one object per region, one variable per species, both in order of first
// appearance; the earliest date of each pair; pairs without a record as options.absent says.
BuiltRecords buildRecordsData(std::vector<Record> records, const BuildOptions& options);

// True for a data set without geometry (every region a point at the origin): a map or a
// distance of it would mean nothing.
bool withoutGeometry(const VectorData& data);

}  // namespace el::vec
