// A records table read whole: its bytes decoded (line by line where it is UTF-8 except for
// some lines), then split by the one delimited-text reader into rows as wide as its header.

#include <variant>

#include "vector/delimited_text.hpp"
#include "vector/records.hpp"
#include "vector/text_encoding.hpp"

namespace el::vec {

Table readDelimitedTable(std::string_view bytes, const std::string& encodingChoice, const DelimitedFormat& format) {
    auto decoded = decodeTableText(bytes, encodingChoice);
    if (const auto* problem = std::get_if<std::string>(&decoded)) throw RecordsError(*problem);
    DecodedText& source = std::get<DecodedText>(decoded);
    MemoryBytes text(source.utf8);
    DelimitedFormat utf8 = format;
    utf8.encoding = "UTF-8";
    DelimitedReader reader(text, utf8);
    Table table;
    table.headers = reader.headers();
    table.delimiter = reader.delimiter();
    table.encoding = source.encoding;
    table.otherEncodingLines = source.otherLines;
    table.otherEncoding = source.otherEncoding;
    while (reader.next()) {
        table.rows.emplace_back(reader.cells().begin(), reader.cells().end());
        table.rowNumbers.push_back(reader.line());
    }
    return table;
}

}  // namespace el::vec
