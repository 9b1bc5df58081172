// A delimited text table read in one pass over its decoded text: each field is copied once,
// so a table of a million rows costs time in proportion to its size.

#include <algorithm>
#include <variant>

#include "vector/records.hpp"
#include "vector/text_encoding.hpp"

namespace el::vec {
namespace {

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

// The delimiter that occurs most often on the first line outside quotes; comma when none does.
char detectDelimiter(std::string_view text) {
    text.remove_prefix(std::min(text.size(), text.find_first_not_of("\r\n")));
    std::size_t comma = 0, semicolon = 0, tab = 0;
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '\r' || c == '\n') break;
        comma += c == ',';
        semicolon += c == ';';
        tab += c == '\t';
    }
    if (tab > 0 && tab >= semicolon && tab >= comma) return '\t';
    if (semicolon > 0 && semicolon >= comma) return ';';
    return ',';
}

// Splits the text into rows of fields, counting lines as it goes.
class RowSplitter {
public:
    RowSplitter(std::string_view text, char delimiter) : text_(text), delimiter_(delimiter) {}

    bool done() const { return pos_ >= text_.size(); }
    std::int64_t line() const { return line_; }

    // The next row's fields (blanks around unquoted fields removed).
    std::vector<std::string> next() {
        std::vector<std::string> fields;
        for (;;) {
            fields.push_back(field());
            if (pos_ >= text_.size()) return fields;
            const char c = text_[pos_++];
            if (c == delimiter_) continue;
            endLine(c);
            return fields;
        }
    }

private:
    void endLine(char c) {
        if (c == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
        ++line_;
    }

    std::string field() {
        std::size_t start = pos_;
        while (start < text_.size() && (text_[start] == ' ' || text_[start] == '\t') && text_[start] != delimiter_)
            ++start;
        if (start < text_.size() && text_[start] == '"') {
            pos_ = start + 1;
            return quotedField();
        }
        std::size_t end = start;
        while (end < text_.size() && text_[end] != delimiter_ && text_[end] != '\n' && text_[end] != '\r') ++end;
        const std::string_view raw = text_.substr(pos_, end - pos_);
        pos_ = end;
        return trimmed(raw);
    }

    // After the opening quote: up to the closing one, "" standing for one quote. Text after
    // the closing quote, up to the delimiter, is kept as it is.
    std::string quotedField() {
        const std::int64_t opened = line_;
        std::string value;
        for (;;) {
            const std::size_t quote = text_.find('"', pos_);
            if (quote == std::string_view::npos)
                throw RecordsError("The quote opened on line " + std::to_string(opened) + " of the table is never closed");
            countLines(text_.substr(pos_, quote - pos_));
            value.append(text_.substr(pos_, quote - pos_));
            pos_ = quote + 1;
            if (pos_ < text_.size() && text_[pos_] == '"') {
                value += '"';
                ++pos_;
                continue;
            }
            std::size_t end = pos_;
            while (end < text_.size() && text_[end] != delimiter_ && text_[end] != '\n' && text_[end] != '\r') ++end;
            value += trimmed(text_.substr(pos_, end - pos_));
            pos_ = end;
            return value;
        }
    }

    void countLines(std::string_view inside) {
        for (std::size_t i = 0; i < inside.size(); ++i)
            if (inside[i] == '\n' || (inside[i] == '\r' && (i + 1 == inside.size() || inside[i + 1] != '\n'))) ++line_;
    }

    std::string_view text_;
    char delimiter_;
    std::size_t pos_ = 0;
    std::int64_t line_ = 1;
};

bool blankRow(const std::vector<std::string>& fields) {
    for (const std::string& field : fields)
        if (!field.empty()) return false;
    return true;
}

// A row as wide as the header: short rows padded, empty cells beyond the header dropped.
void fitRow(std::vector<std::string>& fields, std::size_t width, std::int64_t line) {
    if (fields.size() > width) {
        for (std::size_t k = width; k < fields.size(); ++k)
            if (!fields[k].empty())
                throw RecordsError("Line " + std::to_string(line) + " of the table has a value in column " +
                                   std::to_string(k + 1) + " (\"" + fields[k] + "\"), but the header names only " +
                                   std::to_string(width) + " columns");
    }
    fields.resize(width);
}

Table splitTable(std::string_view text) {
    Table table;
    table.delimiter = detectDelimiter(text);
    RowSplitter rows(text, table.delimiter);
    while (!rows.done() && table.headers.empty()) {
        auto fields = rows.next();
        if (!blankRow(fields)) table.headers = std::move(fields);
    }
    if (table.headers.empty()) throw RecordsError("The table is empty: it has no header line");
    while (!rows.done()) {
        const std::int64_t line = rows.line();
        auto fields = rows.next();
        if (blankRow(fields)) continue;
        fitRow(fields, table.headers.size(), line);
        table.rows.push_back(std::move(fields));
        table.rowNumbers.push_back(line);
    }
    return table;
}

}  // namespace

Table readDelimitedTable(std::string_view bytes, const std::string& encodingChoice) {
    auto decoded = vec::decodeSource(bytes, encodingChoice);
    if (const auto* problem = std::get_if<std::string>(&decoded)) throw RecordsError(*problem);
    vec::DecodedText& source = std::get<vec::DecodedText>(decoded);
    Table table = splitTable(source.utf8);
    table.encoding = source.encoding;
    return table;
}

}  // namespace el::vec
