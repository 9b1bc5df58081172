// The trailing-comma normaliser: a spreadsheet leaves empty fields at the ends of lines,
// and since fields run on across line ends they would shift every following record.

#include "base/file_bytes.hpp"
#include "vector/vector_file.hpp"

namespace el::vec {

std::string filecomma(std::string_view text) {
    std::string normalised;
    normalised.reserve(text.size() + text.size() / 16);
    for (std::string_view line : linesOf(text)) {
        normalised += withoutTrailingCommas(line);
        normalised += "\r\n";
    }
    return normalised;
}

}  // namespace el::vec
