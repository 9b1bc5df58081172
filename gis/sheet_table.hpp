#pragma once
// A spreadsheet (XLSX or ODS) sheet read as a text table: the first row is the header,
// every cell is text (a number as its plain text: 1998 stays "1998"), row numbers as the
// sheet shows them (the header is row 1).

#include <filesystem>
#include <string>

#include "vector/records.hpp"

namespace el::gis {

// `sheet` empty: the first sheet. Throws GisError naming the file or the sheets it has.
vec::Table readSheetTable(const std::filesystem::path& source, const std::string& sheet = "");

}  // namespace el::gis
