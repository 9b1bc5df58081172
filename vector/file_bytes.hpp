#pragma once
// Whole-file reading and writing and line splitting for the vector file procedures, the
// write-back and the files made from a run (figures, reports, tables).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace el::vec {

// The file's bytes, or nothing when it cannot be opened or read.
std::optional<std::string> readWholeFile(const std::filesystem::path& file);

// Creates (or replaces) the file with `bytes`; false when they did not all reach it.
bool writeWholeFile(const std::filesystem::path& file, std::string_view bytes);

// The same, but the bytes go to FILE.part beside FILE, which is then renamed over FILE, so a
// reader never sees half a figure, report or table; false when the file could not be
// written, and no .part file is left behind then.
bool replaceWholeFile(const std::filesystem::path& file, std::string_view bytes);

// The lines of a text, split at CR LF, LF or CR; a final line end does not start another line.
std::vector<std::string_view> linesOf(std::string_view text);

// The line without the run of commas at its end (a spreadsheet's empty trailing fields).
std::string_view withoutTrailingCommas(std::string_view line);

}  // namespace el::vec
