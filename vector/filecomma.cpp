// The trailing-comma normaliser: a spreadsheet leaves empty fields at the ends of lines,
// and since fields run on across line ends they would shift every following record.

#include <string_view>
#include <variant>

#include "vector/field_reader.hpp"
#include "vector/file_bytes.hpp"
#include "vector/text_encoding.hpp"
#include "vector/vector_file.hpp"

namespace el {

int filecomma(const std::filesystem::path& from, const std::filesystem::path& to, Messenger& messenger) {
    TextEncoding found;
    return filecomma(from, to, messenger, std::string(vec::kAutoEncoding), found);
}

int filecomma(const std::filesystem::path& from, const std::filesystem::path& to, Messenger& messenger,
              const std::string& encoding, TextEncoding& found) {
    const auto bytes = vec::readWholeFile(from);
    if (!bytes) {
        messenger.message("Cannot open file: " + from.string());
        return 1;
    }
    auto decoded = vec::decodeSource(*bytes, encoding);
    if (const auto* problem = std::get_if<std::string>(&decoded)) {
        messenger.message(from.string() + ": " + *problem);
        return 1;
    }
    const vec::DecodedText& source = std::get<vec::DecodedText>(decoded);
    found = source.encoding;
    vec::LineWriter out(to);
    if (!out.isOpen()) {
        messenger.message("Cannot create file: " + to.string());
        return 1;
    }

    for (std::string_view line : vec::linesOf(source.utf8)) out.writeLine(vec::withoutTrailingCommas(line));
    if (!out.close()) {
        messenger.message("Cannot write file: " + to.string());
        return 1;
    }
    return 0;
}

}  // namespace el
