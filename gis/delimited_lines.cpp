#include "gis/delimited_lines.hpp"

#include "gis/gis_error.hpp"

namespace el::gis {

char detectDelimiter(const std::string& headerLine) {
    int commas = 0, tabs = 0, semicolons = 0;
    bool quoted = false;
    for (const char c : headerLine) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        commas += c == ',';
        tabs += c == '\t';
        semicolons += c == ';';
    }
    if (tabs > commas && tabs >= semicolons) return '\t';
    if (semicolons > commas) return ';';
    return ',';
}

DelimitedLines::DelimitedLines(const std::filesystem::path& file) : path_(file), in_(file, std::ios::binary) {
    if (!in_) throw GisError("cannot open " + file.string());
    std::string header;
    if (!readLine(header)) throw GisError(file.string() + " is empty: it needs a header line");
    if (header.rfind("\xEF\xBB\xBF", 0) == 0) header.erase(0, 3);
    delimiter_ = detectDelimiter(header);
    recordLine_ = lineCount_;
    split(header, headers_);
}

bool DelimitedLines::readLine(std::string& text) {
    if (!std::getline(in_, text)) {
        if (in_.bad()) throw GisError("reading " + path_.string() + " failed after line " + std::to_string(lineCount_));
        return false;
    }
    ++lineCount_;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    return true;
}

bool DelimitedLines::next(std::vector<std::string>& cells) {
    do {
        if (!readLine(text_)) return false;
    } while (text_.find_first_not_of(" \t") == std::string::npos);
    recordLine_ = lineCount_;
    split(text_, cells);
    return true;
}

// Splits `text` into cells; reads further lines while a quoted field is open.
void DelimitedLines::split(std::string& text, std::vector<std::string>& cells) {
    cells.clear();
    const bool quoting = delimiter_ != '\t';
    std::string cell;
    std::size_t i = 0;
    bool inQuotes = false, fieldStart = true;
    for (;;) {
        if (i == text.size()) {
            if (!inQuotes) break;
            if (!readLine(text))
                throw GisError("line " + std::to_string(recordLine_) + " of " + path_.string() +
                               ": a quoted field is never closed");
            cell += '\n';
            i = 0;
            continue;
        }
        const char c = text[i++];
        if (inQuotes) {
            if (c != '"') {
                cell += c;
            } else if (i < text.size() && text[i] == '"') {
                cell += '"';
                ++i;
            } else {
                inQuotes = false;
            }
        } else if (c == delimiter_) {
            cells.push_back(std::move(cell));
            cell.clear();
            fieldStart = true;
            continue;
        } else if (c == '"' && quoting && fieldStart) {
            inQuotes = true;
        } else {
            cell += c;
        }
        fieldStart = false;
    }
    cells.push_back(std::move(cell));
}

}  // namespace el::gis
