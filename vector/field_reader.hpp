#pragma once
// Reads the comma-separated fields of a vector file held in memory. A field ends at a
// comma or at a line end (CR LF, LF or CR); blanks (space, tab) before it are skipped;
// a field may stand in double quotes, which hide commas and line ends, and whatever
// follows the closing quote up to the separator is dropped. An unclosed quote runs to
// the end of the data.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace el::vec {

class FieldReader {
public:
    // `bytes` must outlive the reader; a leading UTF-8 byte order mark is skipped.
    explicit FieldReader(std::string_view bytes);

    // The next field, or nothing when the data is used up. The view points into `bytes`.
    std::optional<std::string_view> next();

    // True when only blanks and line ends remain (blank lines after the last record).
    bool onlyBlankLinesLeft() const;

    // After a field that ended at a comma, moves past the end of its line.
    void skipRestOfLine();

    // The raw text of the next line, without its line end, which is consumed.
    std::string_view readLine();

    std::size_t remainingBytes() const { return bytes_.size() - pos_; }

private:
    void consumeLineEnd();

    std::string_view bytes_;
    std::size_t pos_ = 0;
    bool lastEndedLine_ = true;
};

// Every field of one line (the variable line). An empty line gives one empty field.
std::vector<std::string> splitFields(std::string_view line);


}  // namespace el::vec
