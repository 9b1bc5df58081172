#include "vector/sheet_choice.hpp"

#include <optional>

#include "base/text.hpp"

namespace el::vec {
namespace {

constexpr std::size_t kColumnsShown = 12;

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string sheetNames(const std::vector<SheetHeaders>& sheets) {
    std::string list;
    for (const SheetHeaders& sheet : sheets) list += (list.empty() ? "" : ", ") + sheet.name;
    return list;
}

std::string columnList(const std::vector<std::string>& headers) {
    if (headers.empty()) return "none";
    std::string list;
    for (std::size_t k = 0; k < headers.size() && k < kColumnsShown; ++k) list += (k ? ", " : "") + quoted(headers[k]);
    if (headers.size() > kColumnsShown) list += " and " + std::to_string(headers.size() - kColumnsShown) + " more";
    return list;
}

std::optional<std::size_t> sheetNamed(const std::vector<SheetHeaders>& sheets, const std::string& named) {
    for (std::size_t k = 0; k < sheets.size(); ++k)
        if (sheets[k].name == named) return k;
    std::optional<std::size_t> found;
    for (std::size_t k = 0; k < sheets.size(); ++k) {
        if (!equalsIgnoringAsciiCase(sheets[k].name, named)) continue;
        if (found) return std::nullopt;  // "data" and "Data": which one is not for this tool to guess
        found = k;
    }
    return found;
}

[[noreturn]] void throwNoSheet(const std::vector<SheetHeaders>& sheets, const RecordColumns& wanted,
                               const std::string& file) {
    std::string text = file +
                       " has no sheet with a region, a species and a date column (found by their usual "
                       "header names, or named with --region-column, --species-column and --date-column); "
                       "name the sheet to read with --sheet and its columns with those options. Its sheets:";
    if (sheets.empty()) text += " none";
    for (const SheetHeaders& sheet : sheets)
        text += "\n  " + quoted(sheet.name) + ": " + columnsFault(sheet.headers, wanted) + "; its columns " +
                columnList(sheet.headers);
    throw RecordsError(text);
}

}  // namespace

SheetChoice chooseSheet(const std::vector<SheetHeaders>& sheets, const RecordColumns& wanted, const std::string& named,
                        const std::string& file) {
    if (!named.empty()) {
        if (auto at = sheetNamed(sheets, named)) return {*at, ""};
        throw RecordsError(file + " has no sheet named " + quoted(named) +
                           " (sheets with cells: " + sheetNames(sheets) + ")");
    }
    for (std::size_t k = 0; k < sheets.size(); ++k) {
        if (!columnsFault(sheets[k].headers, wanted).empty()) continue;
        if (k == 0) return {0, ""};
        std::string before;
        for (std::size_t b = 0; b < k; ++b) before += (b ? ", " : "") + quoted(sheets[b].name);
        return {k, "records: read the sheet " + quoted(sheets[k].name) +
                       ", the first with a region, a species and a date column (not " + before +
                       "; --sheet names another)"};
    }
    throwNoSheet(sheets, wanted, file);
}

}  // namespace el::vec
