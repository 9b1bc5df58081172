#pragma once
// What a front end asks of the records import: a records table or occurrence points, the
// columns to read, the regions layer and how pairs without a record read. The table-only
// import lives here; the one with a regions layer, occurrence points or a spreadsheet needs
// GDAL (gis/records_import.hpp).

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "vector/records.hpp"

namespace el::vec {

struct RecordsSource {
    std::filesystem::path table;        // a records table (--records), or
    std::string sheet{};                // its sheet, of a spreadsheet ("" = the first with the columns)
    std::filesystem::path occurrences;  // occurrence points (--occurrences, with a regions layer)
    std::string encoding = "auto";      // of a delimited table
    RecordColumns columns;              // region, species, date and join key columns ("" = found by name)
    std::string longitudeColumn, latitudeColumn;  // of the occurrence points ("" = found by name)
    std::filesystem::path regions;      // the regions layer; empty: a data set without geometry
    std::string regionsLayer;           // its layer ("" = the first)
    std::string joinField;              // its key field ("" = its name field)
    Absence absent = Absence::NotYet;
    bool dropUnmatched = false;
    bool keepSpecimens = false;  // occurrence points of fossils and living specimens are kept
    std::string countryCodes{};          // "numeric", "alpha-2", "alpha-3": the join column holds country names
    std::vector<std::string> filters{};  // "COLUMN=VALUE[,VALUE...]": the table rows kept (vector/records_subset.hpp)
    int minRegions = 1;                  // the species kept are those recorded in at least this many regions
    std::string keptSpecies{};           // the target species, kept whatever its number of regions
    int threads = 1;                     // occurrence points: above 1, placed on a thread of their own

    // The file the records come from.
    const std::filesystem::path& input() const { return table.empty() ? occurrences : table; }
};

// The data set built, and the lines that tell the user what went into it (the points read,
// then the records' summary line).
struct ImportedRecords {
    BuiltRecords built;
    std::vector<std::string> summary;
};

// True for a table that is a spreadsheet (.xlsx, .ods), which only the GIS part reads.
bool isSpreadsheet(const std::filesystem::path& table);

// A delimited table file. Throws RecordsError when it cannot be read.
Table readTableFile(const std::filesystem::path& table, const std::string& encoding,
                    const DelimitedFormat& format = {});

// "records: the table was read as CP932" when its text was not UTF-8, else nothing.
std::optional<std::string> encodingNote(const Table& table);

// The records of a table as a source asks for them: the rows whose status says absent set
// aside and the filters applied (the table keeps the rows that are left), with the notes on
// its encoding and its filters and the summary line's clause that names the columns used.
struct TableRecords {
    std::vector<Record> records;
    std::vector<std::string> notes;
    std::string columnsClause;
};
TableRecords tableRecords(Table& table, const RecordsSource& source);

// A records table without a regions layer: the data set without geometry. Throws
// RecordsError, also for what only the GIS part can do (spreadsheets, layers, points).
ImportedRecords importTableRecords(const RecordsSource& source);

}  // namespace el::vec
