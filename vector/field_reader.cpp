#include "vector/field_reader.hpp"

namespace el::vec {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

// Drops a leading UTF-8 byte order mark.
std::string_view withoutBom(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    return bytes;
}

}  // namespace

FieldReader::FieldReader(std::string_view bytes) : bytes_(withoutBom(bytes)) {}

void FieldReader::consumeLineEnd() {
    if (pos_ < bytes_.size() && bytes_[pos_] == '\r') ++pos_;
    if (pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
}

// Raw pointers keep this hot loop cheap also in unoptimised builds.
std::optional<std::string_view> FieldReader::next() {
    const char* const begin = bytes_.data();
    const char* const end = begin + bytes_.size();
    const char* p = begin + pos_;
    if (p >= end) return std::nullopt;
    while (p < end && (*p == ' ' || *p == '\t')) ++p;

    std::string_view field;
    if (p < end && *p == '"') {
        const char* const open = p + 1;
        const char* close = open;
        while (close < end && *close != '"') ++close;
        field = std::string_view(open, static_cast<std::size_t>(close - open));
        if (close == end) {  // unclosed: the field runs to the end of the data
            pos_ = bytes_.size();
            lastEndedLine_ = true;
            return field;
        }
        p = close + 1;
        while (p < end && *p != ',' && *p != '\r' && *p != '\n') ++p;
    } else {
        const char* const start = p;
        while (p < end && *p != ',' && *p != '\r' && *p != '\n') ++p;
        field = std::string_view(start, static_cast<std::size_t>(p - start));
    }

    if (p < end && *p == ',') {
        pos_ = static_cast<std::size_t>(p - begin) + 1;
        lastEndedLine_ = false;
    } else {
        pos_ = static_cast<std::size_t>(p - begin);
        consumeLineEnd();
        lastEndedLine_ = true;
    }
    return field;
}

bool FieldReader::onlyBlankLinesLeft() const {
    for (std::size_t i = pos_; i < bytes_.size(); ++i)
        if (!isBlank(bytes_[i]) && !isLineEnd(bytes_[i])) return false;
    return true;
}

void FieldReader::skipRestOfLine() {
    if (lastEndedLine_) return;
    while (pos_ < bytes_.size() && !isLineEnd(bytes_[pos_])) ++pos_;
    consumeLineEnd();
    lastEndedLine_ = true;
}

std::string_view FieldReader::readLine() {
    const std::size_t start = pos_;
    while (pos_ < bytes_.size() && !isLineEnd(bytes_[pos_])) ++pos_;
    const std::string_view line = bytes_.substr(start, pos_ - start);
    consumeLineEnd();
    lastEndedLine_ = true;
    return line;
}

std::vector<std::string> splitFields(std::string_view line) {
    std::vector<std::string> fields;
    FieldReader reader(line);
    if (line.empty()) return {std::string()};
    while (auto field = reader.next()) fields.emplace_back(*field);
    return fields;
}

}  // namespace el::vec
