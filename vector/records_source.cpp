#include "vector/records_source.hpp"

#include "base/file_bytes.hpp"
#include "base/text.hpp"
#include "vector/download_lines.hpp"
#include "vector/download_zip.hpp"
#include "vector/records_subset.hpp"

namespace el::vec {

bool isSpreadsheet(const std::filesystem::path& table) {
    const std::string extension = asciiLower(table.extension().string());
    return extension == ".xlsx" || extension == ".ods";
}

Table readTableFile(const std::filesystem::path& table, const std::string& encoding, const DelimitedFormat& format) {
    refuseFolder(table);
    const auto bytes = readWholeFile(table);
    if (!bytes) throw RecordsError("Cannot open the records table " + table.string());
    if (looksLikeZip(*bytes))
        throw RecordsError(table.string() +
                           " is a zip archive, which this build reads only with its GIS part: unpack it "
                           "and name the table inside");
    try {
        return readDelimitedTable(*bytes, encoding, format);
    } catch (const RecordsError& e) {
        throw RecordsError(table.string() + ": " + e.what());
    }
}

std::optional<std::string> encodingNote(const Table& table) {
    if (table.otherEncodingLines > 0)
        return "records: " + std::to_string(table.otherEncodingLines) +
               (table.otherEncodingLines == 1 ? " line of the table is" : " lines of the table are") +
               " not UTF-8 and " + (table.otherEncodingLines == 1 ? "was" : "were") + " read as " +
               table.otherEncoding + ", the others as UTF-8 (--encoding names one encoding for the whole table)";
    const std::string& name = table.encoding.name;
    if (equalsIgnoringAsciiCase(name, "UTF-8") || equalsIgnoringAsciiCase(name, "UTF8")) return std::nullopt;
    return "records: the table was read as " + table.encoding.name + " (--encoding names another)";
}

TableRecords tableRecords(Table& table, const RecordsSource& source) {
    const std::int64_t absentRows = setAsideAbsentRows(table);
    TableRecords found;
    if (auto note = encodingNote(table)) found.notes.push_back(std::move(*note));
    if (std::string note = filterRows(table, source.filters); !note.empty()) found.notes.push_back(std::move(note));
    found.records = recordsOf(table, source.columns);
    found.columnsClause = columnsClause(resolveColumns(table, source.columns), absentRows);
    return found;
}

ImportedRecords importTableRecords(const RecordsSource& source) {
    if (!source.regions.empty() || !source.occurrences.empty() || isSpreadsheet(source.table))
        throw RecordsError("Regions layers, occurrence points and spreadsheets need the GIS part, which this build lacks");
    Table table = readTableFile(source.table, source.encoding);
    TableRecords found = tableRecords(table, source);
    const auto everyRecord = [](const Record&) { return true; };
    if (std::string note = keepSpeciesInRegions(found.records, source.minRegions, everyRecord, source.keptSpecies);
        !note.empty())
        found.notes.push_back(std::move(note));
    BuildOptions options;
    options.absent = source.absent;
    ImportedRecords imported{buildRecordsData(std::move(found.records), options), std::move(found.notes)};
    imported.summary.push_back(imported.built.summaryLine() + found.columnsClause);
    return imported;
}

}  // namespace el::vec
