#include "vector/file_bytes.hpp"

#include <system_error>

namespace el::vec {

std::optional<std::string> readWholeFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    if (!in) return std::nullopt;
    const std::streamoff size = in.tellg();
    if (size < 0) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.seekg(0);
    if (!in.read(bytes.data(), size)) return std::nullopt;
    return bytes;
}

LineWriter::LineWriter(const std::filesystem::path& file) : out_(file, std::ios::binary | std::ios::trunc) {}

void LineWriter::writeLine(std::string_view line) {
    out_.write(line.data(), static_cast<std::streamsize>(line.size()));
    out_.write("\r\n", 2);
}

void LineWriter::write(std::string_view text) { out_.write(text.data(), static_cast<std::streamsize>(text.size())); }

bool LineWriter::close() {
    if (!out_.is_open()) return false;
    out_.flush();
    const bool good = out_.good();
    out_.close();
    return good && !out_.fail();
}

bool removeFile(const std::filesystem::path& file) {
    std::error_code ec;
    std::filesystem::remove(file, ec);
    return !ec;
}

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

std::string_view withoutTrailingCommas(std::string_view line) {
    while (!line.empty() && line.back() == ',') line.remove_suffix(1);
    return line;
}

}  // namespace el::vec
