#pragma once
// The one reader of delimited text (CSV, TSV, semicolons, a Darwin Core archive's core file),
// record by record from a source of bytes, so a file of millions of lines never sits in
// memory. What differs between the files users bring is an option of the format: the
// delimiter (or found on the first line), whether and with which character fields are
// quoted, lines to skip, a header or none, whether every line must have the header's
// number of fields, and the text encoding, line by line.
//
// Common to all: CR LF, LF and CR end lines; a UTF-8 byte order mark is dropped; blanks
// (space, tab) around a field are not part of it; a record whose fields are all empty is
// skipped (its lines still count).

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace el::vec {

class TextDecoder;

// Where a reader's bytes come from, a piece at a time.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to `size` bytes into `into`; 0 at the end. Throws RecordsError when reading fails.
    virtual std::size_t read(char* into, std::size_t size) = 0;
};

// Bytes held in memory (which must outlive the source).
class MemoryBytes final : public ByteSource {
public:
    explicit MemoryBytes(std::string_view bytes) : bytes_(bytes) {}
    std::size_t read(char* into, std::size_t size) override;

private:
    std::string_view bytes_;
};

// A file's bytes. Throws RecordsError when it cannot be opened.
class FileBytes final : public ByteSource {
public:
    explicit FileBytes(const std::filesystem::path& file);
    std::size_t read(char* into, std::size_t size) override;

private:
    std::filesystem::path path_;
    std::ifstream in_;
};

enum class Quoting {
    Standard,       // a field that starts with the quote character is quoted (two inside stand for one)
                    // and may span lines; text after the closing quote is kept
    Literal,        // the quote character is a character like any other
    LiteralInTabs,  // Standard, but literal in a tab-separated text, as occurrence downloads write them
};

enum class FieldCount {
    PadShort,  // a short record is padded with empty fields; a field beyond the header must be empty
    Exact,     // every record has the header's number of fields (without a header: the first record's)
};

struct DelimitedFormat {
    char delimiter = 0;  // 0: the one of comma, semicolon and tab the first line holds most of (outside quotes)
    Quoting quoting = Quoting::Standard;
    char quote = '"';
    int skippedLines = 0;  // lines skipped before the header (or the first record)
    bool header = true;    // the first line read names the columns
    FieldCount fieldCount = FieldCount::PadShort;
    // "UTF-8": the bytes must be UTF-8. "auto": a line that is UTF-8 stays so, any other is
    // read in the 8-bit encoding its bytes suggest (the same for every such line). Else an
    // encoding name: every line is read in it.
    std::string encoding = "UTF-8";
    std::string label = "the table";  // what messages call the text: "Line 4 of the table ..."
};

class DelimitedReader {
public:
    // Reads the header (when the format has one). Throws RecordsError for a text without a
    // line, an unknown encoding, or a header that cannot be read.
    DelimitedReader(ByteSource& source, DelimitedFormat format);
    ~DelimitedReader();
    DelimitedReader(const DelimitedReader&) = delete;
    DelimitedReader& operator=(const DelimitedReader&) = delete;

    const std::vector<std::string>& headers() const { return headers_; }
    char delimiter() const { return format_.delimiter; }
    bool quoting() const { return quoting_; }

    // The next record; false at the end. Throws RecordsError naming the line for a quote
    // never closed, a record with another number of fields, or a line that is not text.
    bool next();

    // The fields of the last record, trimmed, valid until the next call of next().
    const std::vector<std::string_view>& cells() const { return cells_; }

    // The line (1-based, counting every line the text has) on which the last record began.
    std::int64_t line() const { return recordLine_; }

    // The lines that were not UTF-8 and were read in another encoding ("auto"), and that encoding.
    std::int64_t otherEncodingLines() const { return otherLines_; }
    const std::string& otherEncoding() const { return otherEncoding_; }

private:
    bool rawLine();
    bool textLine();
    void decodeLine();
    std::string otherSample() const;
    void split();
    void splitQuoted();
    void checkCount();
    std::string lineLabel(std::int64_t line) const;

    ByteSource& source_;
    DelimitedFormat format_;
    bool quoting_ = true;
    bool firstPending_ = false;  // without a header: the first record is read, not yet handed out
    std::string buffer_;
    std::size_t begin_ = 0, end_ = 0;
    bool exhausted_ = false;
    bool pendingCr_ = false;  // the last line ended in CR: a LF that follows belongs to it
    std::string line_, decoded_, record_;
    std::int64_t lineCount_ = 0, recordLine_ = 0;
    std::vector<std::string> headers_;
    std::vector<std::string_view> cells_;
    std::vector<std::pair<std::size_t, std::size_t>> spans_;
    std::size_t expected_ = 0;
    std::unique_ptr<TextDecoder> decoder_;
    std::int64_t otherLines_ = 0;
    std::string otherEncoding_;
};

// The one of ',', ';' and '\t' that occurs most often in `line` outside double quotes (tab
// on a tie, then semicolon); ',' when none does.
char detectDelimiter(std::string_view line);

}  // namespace el::vec
