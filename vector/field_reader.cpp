#include "vector/field_reader.hpp"

namespace el::vec {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

}  // namespace

std::string_view withoutBom(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    return bytes;
}

FieldReader::FieldReader(std::string_view bytes) : bytes_(withoutBom(bytes)) {}

void FieldReader::consumeLineEnd() {
    if (pos_ < bytes_.size() && bytes_[pos_] == '\r') ++pos_;
    if (pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
}

std::optional<std::string_view> FieldReader::next() {
    if (pos_ >= bytes_.size()) return std::nullopt;
    while (pos_ < bytes_.size() && isBlank(bytes_[pos_])) ++pos_;

    std::string_view field;
    if (pos_ < bytes_.size() && bytes_[pos_] == '"') {
        const std::size_t open = pos_ + 1;
        const std::size_t close = bytes_.find('"', open);
        if (close == std::string_view::npos) {
            field = bytes_.substr(open);
            pos_ = bytes_.size();
            lastEndedLine_ = true;
            return field;
        }
        field = bytes_.substr(open, close - open);
        pos_ = close + 1;
        while (pos_ < bytes_.size() && bytes_[pos_] != ',' && !isLineEnd(bytes_[pos_])) ++pos_;
    } else {
        const std::size_t start = pos_;
        while (pos_ < bytes_.size() && bytes_[pos_] != ',' && !isLineEnd(bytes_[pos_])) ++pos_;
        field = bytes_.substr(start, pos_ - start);
    }

    if (pos_ < bytes_.size() && bytes_[pos_] == ',') {
        ++pos_;
        lastEndedLine_ = false;
    } else {
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
