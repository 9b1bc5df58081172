#pragma once
// A spreadsheet (XLSX or ODS) sheet read as a text table: the first row is the header,
// every cell is text (a number as its plain text: 1998 stays "1998"), row numbers as the
// sheet shows them (the header is row 1).

#include <filesystem>
#include <string>

#include "vector/records.hpp"
#include "vector/sheet_choice.hpp"

namespace el::gis {

// `sheet` empty: the first sheet. Throws GisError naming the file or the sheets it has.
vec::Table readSheetTable(const std::filesystem::path& source, const std::string& sheet = "");

// Every sheet's name and header row, in workbook order. Throws GisError.
std::vector<vec::SheetHeaders> readSheetHeaders(const std::filesystem::path& source);

// The sheet that holds the records (vec::chooseSheet: `sheet` when named, else the first
// whose header gives the columns `wanted` asks for) and the note that says which it was.
// Throws GisError when the file cannot be read, vec::RecordsError when no sheet will do.
struct RecordsSheet {
    vec::Table table;
    std::string note;  // "" for the first sheet or one named
};
RecordsSheet readRecordsSheet(const std::filesystem::path& source, const std::string& sheet,
                              const vec::RecordColumns& wanted);

}  // namespace el::gis
