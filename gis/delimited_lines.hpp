#pragma once
// A delimited text file (CSV, TSV, semicolons) read one record at a time, so a file of
// millions of lines never sits in memory. The delimiter is the one of comma, tab and
// semicolon that the header line holds most of (outside quotes); a UTF-8 byte order mark
// and CR line ends are dropped. With commas or semicolons a field that starts with a
// double quote is quoted ("" inside stands for one quote) and may span lines; tab
// separated files take quotes literally, as occurrence downloads write them.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace el::gis {

class DelimitedLines {
public:
    // Opens the file and reads its header line. Throws GisError when it cannot be read.
    explicit DelimitedLines(const std::filesystem::path& file);

    const std::vector<std::string>& headers() const { return headers_; }
    char delimiter() const { return delimiter_; }

    // The next non-blank record's cells; false at the end. Throws GisError for a quoted
    // field that is never closed.
    bool next(std::vector<std::string>& cells);

    // The line (1-based, the header is line 1) on which the last record began.
    std::int64_t line() const { return recordLine_; }

private:
    bool readLine(std::string& text);
    void split(std::string& text, std::vector<std::string>& cells);

    std::filesystem::path path_;
    std::ifstream in_;
    std::vector<std::string> headers_;
    char delimiter_ = ',';
    std::int64_t lineCount_ = 0;
    std::int64_t recordLine_ = 0;
    std::string text_;
};

// The one of ',', '\t' and ';' that occurs most often outside double quotes; ',' for none.
char detectDelimiter(const std::string& headerLine);

}  // namespace el::gis
