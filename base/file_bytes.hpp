#pragma once
// Whole-file reading and the line splitting of the text read, for the vector file procedures,
// the records import and the write-back. Files are written by base/file_replace.hpp.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace el {

// A path as UTF-8 text: for messages, and for libraries that take UTF-8 paths (GDAL, R).
std::string utf8Path(const std::filesystem::path& path);

// The file's bytes, or nothing when it cannot be opened or read.
std::optional<std::string> readWholeFile(const std::filesystem::path& file);

// The lines of a text, split at CR LF, LF or CR; a final line end does not start another line.
std::vector<std::string_view> linesOf(std::string_view text);

// The line without the run of commas at its end (a spreadsheet's empty trailing fields).
std::string_view withoutTrailingCommas(std::string_view line);

}  // namespace el
