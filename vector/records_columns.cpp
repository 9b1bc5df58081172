// The records of a table: its columns found by name, every row checked, every fault listed.

#include <algorithm>
#include <array>
#include <optional>

#include "base/text.hpp"
#include "vector/record_dates.hpp"
#include "vector/record_status.hpp"
#include "vector/records.hpp"

namespace el::vec {
namespace {

// A header name folded for the usual-name search: ASCII lower case, without blanks,
// underscores, hyphens and dots ("First record", "first_record" and "FirstRecord" agree).
std::string folded(std::string_view name) {
    std::string out;
    for (const char c : asciiLower(name))
        if (c != ' ' && c != '_' && c != '-' && c != '.') out += c;
    return out;
}

// The usual header names of each column, in order of preference (folded).
constexpr std::array kRegionNames{"region", "location", "country", "locality", "area", "regionname", "countryname"};
// A plain name column wins over scientificName, which often carries the authorship.
constexpr std::array kSpeciesNames{"species", "taxon", "taxonname", "speciesname", "scientificname"};
constexpr std::array kDateNames{"date",      "year",      "firstrecord", "firstrecordyear", "firstrecorddate",
                                "eventdate", "firstyear", "recordyear",  "yearfirstrecord", "firstrecordevent"};

std::string headerList(const Table& table) {
    std::string list;
    for (const std::string& header : table.headers) list += (list.empty() ? "\"" : ", \"") + header + "\"";
    return list.empty() ? "none" : list;
}

std::optional<std::size_t> onlyMatch(const Table& table, const std::string& name, bool ignoreCase,
                                     const std::string& role) {
    std::optional<std::size_t> found;
    for (std::size_t k = 0; k < table.headers.size(); ++k) {
        const bool match = ignoreCase ? equalsIgnoringAsciiCase(table.headers[k], name) : table.headers[k] == name;
        if (!match) continue;
        if (found)
            throw RecordsError("The " + role + " column \"" + name + "\" is named twice in the table's header (columns " +
                               std::to_string(*found + 1) + " and " + std::to_string(k + 1) + ")");
        found = k;
    }
    return found;
}

// The column named `name` (exactly, else ignoring case), or the first usual name the header has.
template <std::size_t N>
std::size_t columnFor(const Table& table, const std::string& name, const std::array<const char*, N>& usual,
                      const std::string& role, const std::string& option) {
    if (!name.empty()) {
        if (auto at = onlyMatch(table, name, false, role)) return *at;
        if (auto at = onlyMatch(table, name, true, role)) return *at;
        throw RecordsError("The table has no column \"" + name + "\" for the " + role + "; its columns are " +
                           headerList(table));
    }
    for (const char* candidate : usual)
        for (std::size_t k = 0; k < table.headers.size(); ++k)
            if (folded(table.headers[k]) == candidate) return k;
    throw RecordsError("No " + role + " column found among the table's columns " + headerList(table) + "; name it with " +
                       option);
}

struct ColumnIndex {
    std::size_t region, species, date;
    std::optional<std::size_t> key;
};

ColumnIndex indexOf(const Table& table, const RecordColumns& wanted) {
    ColumnIndex at{columnFor(table, wanted.region, kRegionNames, "region", "--region-column"),
                   columnFor(table, wanted.species, kSpeciesNames, "species", "--species-column"),
                   columnFor(table, wanted.date, kDateNames, "date", "--date-column"), std::nullopt};
    if (!wanted.key.empty())
        at.key = columnFor(table, wanted.key, std::array<const char*, 0>{}, "join key", "--join COLUMN=FIELD");
    if (at.region == at.species || at.species == at.date || at.region == at.date)
        throw RecordsError("The region, species and date must be three different columns; the table's columns are " +
                           headerList(table));
    return at;
}

// What is wrong with a record, or "" when nothing is.
std::string faultOf(const Record& record) {
    if (record.region.empty()) return "no region";
    if (record.species.empty()) return "no species";
    if (!recordDateOf(record.date))
        return record.date.empty() ? "no date" : "the date \"" + record.date + "\" is neither a number, an ISO date "
                                                                               "(YYYY-MM-DD) nor a keyword";
    return "";
}

constexpr std::size_t kFaultsListed = 20;

void throwFaults(const std::vector<std::string>& faults) {
    std::string text = std::to_string(faults.size()) + (faults.size() == 1 ? " row" : " rows") +
                       " of the table cannot be read as a record (a date is a number, an ISO date YYYY-MM-DD, or "
                       "Arrived, NotYetArrived, Unknown):";
    for (std::size_t k = 0; k < faults.size() && k < kFaultsListed; ++k) text += "\n  " + faults[k];
    if (faults.size() > kFaultsListed) text += "\n  and " + std::to_string(faults.size() - kFaultsListed) + " more";
    throw RecordsError(text);
}

// Whether the header has the column `name` names (ignoring case), or one of the usual names.
template <std::size_t N>
bool hasColumn(const Table& table, const std::string& name, const std::array<const char*, N>& usual) {
    for (const std::string& header : table.headers) {
        if (!name.empty() ? equalsIgnoringAsciiCase(header, name)
                          : std::find(usual.begin(), usual.end(), folded(header)) != usual.end())
            return true;
    }
    return false;
}

std::string missing(const std::string& name, const std::string& role) {
    return name.empty() ? "no " + role + " column" : "no column \"" + name + "\" for the " + role;
}

}  // namespace

std::string columnsFault(const std::vector<std::string>& headers, const RecordColumns& wanted) {
    Table table;
    table.headers = headers;
    if (!hasColumn(table, wanted.region, kRegionNames)) return missing(wanted.region, "region");
    if (!hasColumn(table, wanted.species, kSpeciesNames)) return missing(wanted.species, "species");
    if (!hasColumn(table, wanted.date, kDateNames)) return missing(wanted.date, "date");
    if (!wanted.key.empty() && !hasColumn(table, wanted.key, std::array<const char*, 0>{}))
        return missing(wanted.key, "join key");
    try {
        indexOf(table, wanted);
    } catch (const RecordsError& e) {
        return e.what();
    }
    return "";
}

RecordColumns resolveColumns(const Table& table, const RecordColumns& wanted) {
    const ColumnIndex at = indexOf(table, wanted);
    return {table.headers[at.region], table.headers[at.species], table.headers[at.date],
            at.key ? table.headers[*at.key] : std::string()};
}

std::vector<Record> recordsOf(const Table& table, const RecordColumns& wanted) {
    const ColumnIndex at = indexOf(table, wanted);
    std::vector<Record> records;
    records.reserve(table.rows.size());
    std::vector<std::string> faults;
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const std::vector<std::string>& row = table.rows[r];
        Record record{row[at.region], row[at.species], row[at.date], table.rowNumbers[r],
                      at.key ? row[*at.key] : std::string()};
        if (std::string fault = faultOf(record); !fault.empty())
            faults.push_back("line " + std::to_string(record.row) + " (region \"" + record.region + "\", species \"" +
                             record.species + "\"): " + fault);
        else if (at.key && record.key.empty())
            faults.push_back("line " + std::to_string(record.row) + " (region \"" + record.region +
                             "\"): no join key in column \"" + table.headers[*at.key] + "\"");
        records.push_back(std::move(record));
    }
    if (!faults.empty()) throwFaults(faults);
    return records;
}

}  // namespace el::vec

namespace el::vec {

std::int64_t setAsideAbsentRows(Table& table) {
    std::optional<std::size_t> status;
    for (std::size_t k = 0; k < table.headers.size() && !status; ++k)
        if (folded(table.headers[k]) == "occurrencestatus" || folded(table.headers[k]) == "presentstatus") status = k;
    if (!status) return 0;
    std::size_t kept = 0;
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        if (isAbsenceStatus(table.rows[r][*status])) continue;
        if (kept != r) {
            table.rows[kept] = std::move(table.rows[r]);
            table.rowNumbers[kept] = table.rowNumbers[r];
        }
        ++kept;
    }
    const auto absent = static_cast<std::int64_t>(table.rows.size() - kept);
    table.rows.resize(kept);
    table.rowNumbers.resize(kept);
    return absent;
}

std::string columnsClause(const RecordColumns& used, std::int64_t absentRows) {
    std::string clause =
        "; columns used: region \"" + used.region + "\", species \"" + used.species + "\", date \"" + used.date + "\"";
    if (absentRows > 0)
        clause += "; " + std::to_string(absentRows) + (absentRows == 1 ? " row" : " rows") +
                  " whose status says absent set aside";
    return clause;
}

}  // namespace el::vec
