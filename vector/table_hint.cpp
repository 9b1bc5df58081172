#include "vector/table_hint.hpp"

#include <vector>

#include "base/text.hpp"

namespace el::vec {
namespace {

constexpr std::size_t kLinesLooked = 6;
constexpr std::size_t kNamesShown = 6;

// The first lines of the text (blank ones skipped), split at `delimiter` outside quotes.
std::vector<std::vector<std::string>> firstRows(std::string_view text, char delimiter) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row(1);
    bool quoted = false;
    for (std::size_t i = 0; i < text.size() && rows.size() < kLinesLooked; ++i) {
        const char c = text[i];
        if (c == '"') quoted = !quoted;
        else if (!quoted && c == delimiter) row.emplace_back();
        else if (!quoted && (c == '\n' || c == '\r')) {
            if (row.size() > 1 || !row.front().empty()) rows.push_back(std::move(row));
            row.assign(1, std::string());
        } else row.back() += c;
    }
    if (rows.size() < kLinesLooked && (row.size() > 1 || !row.front().empty())) rows.push_back(std::move(row));
    return rows;
}

// A header of two named columns at least (a vector file's head line "vector,,," is none).
bool header(const std::vector<std::vector<std::string>>& rows) {
    if (rows.empty()) return false;
    std::size_t named = 0;
    for (const std::string& name : rows.front()) named += name.find_first_not_of(" \t") != std::string::npos;
    return named >= 2;
}

bool namesRecordColumn(const std::vector<std::string>& header) {
    static const char* const kWords[] = {"region", "species", "date", "year", "country", "taxon", "first", "location"};
    for (const std::string& name : header)
        for (const char* word : kWords)
            if (asciiLower(name).find(word) != std::string::npos) return true;
    return false;
}

bool evenlySplit(const std::vector<std::vector<std::string>>& rows) {
    if (rows.size() < 3) return false;
    for (const auto& row : rows)
        if (row.size() != rows.front().size()) return false;
    return true;
}

std::string description(const std::vector<std::string>& header, const char* kind) {
    std::string text = std::string("This file looks like a table (") + kind + ", " + std::to_string(header.size()) +
                       " columns: ";
    for (std::size_t k = 0; k < header.size() && k < kNamesShown; ++k) text += (k ? ", " : "") + header[k];
    if (header.size() > kNamesShown) text += ", ...";
    return text + ").";
}

}  // namespace

std::optional<std::string> tableLook(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    for (const auto& [delimiter, kind] : {std::pair{'\t', "tab-separated"}, std::pair{';', "semicolon-separated"}}) {
        const auto rows = firstRows(text, delimiter);
        if (header(rows)) return description(rows.front(), kind);
    }
    const auto rows = firstRows(text, ',');
    if (!header(rows)) return std::nullopt;
    if (namesRecordColumn(rows.front()) || evenlySplit(rows)) return description(rows.front(), "comma-separated");
    return std::nullopt;
}

}  // namespace el::vec
