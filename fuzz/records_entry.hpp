#pragma once
// The fuzz entries of the records-table reader and of an archive's meta.xml. A refusal
// (RecordsError) is a fine answer; anything else that escapes, a crash, or a broken promise
// is a finding. Header-only, so that the libFuzzer targets and the corpus replay of the
// tests share them.

#include <memory>
#include <string>
#include <string_view>

#include "fuzz/fuzz_require.hpp"
#include "vector/archive_meta.hpp"
#include "vector/download_lines.hpp"
#include "vector/records.hpp"
#include "vector/records_error.hpp"

namespace el::fuzz {

inline int recordsTableOnBytes(std::string_view bytes) {
    vec::Table table;
    try {
        table = vec::readDelimitedTable(bytes, "auto");
    } catch (const vec::RecordsError&) {
        return 0;
    }
    require(table.rows.size() == table.rowNumbers.size(), "a row without its line number");
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        require(table.rows[r].size() == table.headers.size(), "a row not as wide as the header");
        require(r == 0 || table.rowNumbers[r] > table.rowNumbers[r - 1], "row numbers that do not increase");
    }
    const std::size_t before = table.rows.size();
    const std::int64_t absent = vec::setAsideAbsentRows(table);
    require(absent >= 0 && table.rows.size() + static_cast<std::size_t>(absent) == before,
            "rows lost setting absences aside");
    try {
        const std::vector<vec::Record> records = vec::recordsOf(table, {});
        require(records.size() == table.rows.size(), "a row without its record");
        for (const vec::Record& record : records)
            require(!record.region.empty() && !record.species.empty(), "a record without region or species");
    } catch (const vec::RecordsError&) {
    }
    return 0;
}

inline int archiveMetaOnBytes(std::string_view bytes) {
    vec::ArchiveCore core;
    try {
        core = vec::readArchiveMeta(bytes);
    } catch (const vec::RecordsError&) {
        return 0;
    }
    require(!core.columns.empty(), "an archive read without columns");
    const std::string wrapped = "/" + core.location + "/";
    require(!core.location.empty() && wrapped.find("/../") == std::string::npos && core.location.front() != '/',
            "a core file outside the archive");
    require(core.format.delimiter != '\n' && core.format.delimiter != '\r', "a line end as delimiter");
    try {
        vec::DownloadLines lines(std::make_unique<vec::MemoryBytes>("h\na\tb,c;d\n\"e\"\n"), core, "UTF-8");
        require(lines.headers().size() == core.columns.size() + core.constants.size(), "headers lost");
        while (lines.next())
            require(lines.cells().size() == lines.headers().size(), "a line not as wide as the headers");
    } catch (const vec::RecordsError&) {
    }
    return 0;
}

}  // namespace el::fuzz
