#include "vector/delimited_text.hpp"

#include <cstring>

#include "base/text.hpp"
#include "vector/encoding_guess.hpp"
#include "vector/records_error.hpp"
#include "vector/text_encoding.hpp"

namespace el::vec {
namespace {

constexpr std::size_t kBufferSize = std::size_t{1} << 18;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool isUtf8Choice(const std::string& encoding) {
    std::string plain;
    for (const char c : encoding)
        if (c != '-' && c != '_') plain += c;
    return equalsIgnoringAsciiCase(plain, "UTF8");
}

// True when no byte of the text is beyond ASCII; eight bytes at a time.
bool plainAscii(std::string_view text) {
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + i, 8);
        if (word & 0x8080808080808080ULL) return false;
    }
    for (; i < text.size(); ++i)
        if (static_cast<unsigned char>(text[i]) >= 0x80) return false;
    return true;
}

bool blankRecord(const std::vector<std::string_view>& cells) {
    for (const std::string_view cell : cells)
        if (!cell.empty()) return false;
    return true;
}

}  // namespace

char detectDelimiter(std::string_view line) {
    std::size_t comma = 0, semicolon = 0, tab = 0;
    bool quoted = false;
    for (const char c : line) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        comma += c == ',';
        semicolon += c == ';';
        tab += c == '\t';
    }
    if (tab > 0 && tab >= semicolon && tab >= comma) return '\t';
    if (semicolon > 0 && semicolon >= comma) return ';';
    return ',';
}

std::size_t MemoryBytes::read(char* into, std::size_t size) {
    const std::size_t n = std::min(size, bytes_.size());
    std::memcpy(into, bytes_.data(), n);
    bytes_.remove_prefix(n);
    return n;
}

FileBytes::FileBytes(const std::filesystem::path& file) : path_(file), in_(file, std::ios::binary) {
    if (!in_) throw RecordsError("Cannot open " + file.string());
}

std::size_t FileBytes::read(char* into, std::size_t size) {
    in_.read(into, static_cast<std::streamsize>(size));
    if (in_.bad()) throw RecordsError("Reading " + path_.string() + " failed");
    return static_cast<std::size_t>(in_.gcount());
}

DelimitedReader::DelimitedReader(ByteSource& source, DelimitedFormat format)
    : source_(source), format_(std::move(format)), buffer_(kBufferSize, '\0') {
    const bool automatic = format_.encoding == kAutoEncoding;
    if (!automatic && !isUtf8Choice(format_.encoding)) {
        decoder_ = std::make_unique<TextDecoder>(format_.encoding);
        if (!decoder_->usable()) throw RecordsError("Unknown text encoding: " + format_.encoding);
    }
    for (int k = 0; k < format_.skippedLines; ++k)
        if (!textLine()) break;
    bool found = false;
    while (!found && textLine()) found = !trimBlanks(line_).empty();
    if (!found) {
        if (format_.header) throw RecordsError("The table is empty: it has no header line");
        return;
    }
    if (format_.delimiter == 0) format_.delimiter = detectDelimiter(line_);
    quoting_ = format_.quoting == Quoting::Standard ||
               (format_.quoting == Quoting::LiteralInTabs && format_.delimiter != '\t');
    recordLine_ = lineCount_;
    split();
    expected_ = cells_.size();
    if (format_.header) {
        for (const std::string_view cell : cells_) headers_.emplace_back(cell);
        cells_.clear();
    } else {
        firstPending_ = true;
    }
}

DelimitedReader::~DelimitedReader() = default;

bool DelimitedReader::next() {
    if (firstPending_) {
        firstPending_ = false;
        return true;
    }
    for (;;) {
        if (!textLine()) {
            cells_.clear();
            return false;
        }
        recordLine_ = lineCount_;
        split();
        if (blankRecord(cells_)) continue;
        checkCount();
        return true;
    }
}

// The next line of bytes into line_, without its line end; false at the end of the text.
bool DelimitedReader::rawLine() {
    line_.clear();
    bool any = false;
    for (;;) {
        if (begin_ == end_) {
            if (exhausted_) break;
            begin_ = 0;
            end_ = source_.read(buffer_.data(), buffer_.size());
            if (end_ == 0) {
                exhausted_ = true;
                break;
            }
        }
        if (pendingCr_) {
            pendingCr_ = false;
            if (buffer_[begin_] == '\n' && ++begin_ == end_) continue;
        }
        const char* from = buffer_.data() + begin_;
        const std::size_t size = end_ - begin_;
        const void* newline = std::memchr(from, '\n', size);
        const std::size_t upTo = newline ? static_cast<std::size_t>(static_cast<const char*>(newline) - from) : size;
        const void* cr = std::memchr(from, '\r', upTo);
        const std::size_t stop = cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - from) : upTo;
        line_.append(from, stop);
        any = true;
        if (stop == size) {
            begin_ = end_;
            continue;
        }
        pendingCr_ = from[stop] == '\r';
        begin_ += stop + 1;
        ++lineCount_;
        return true;
    }
    if (any) ++lineCount_;
    return any;
}

// The next line as UTF-8 text.
bool DelimitedReader::textLine() {
    if (!rawLine()) return false;
    if (lineCount_ == 1 && !decoder_ && std::string_view(line_).starts_with(kUtf8Bom)) line_.erase(0, kUtf8Bom.size());
    decodeLine();
    if (line_.find('\0') != std::string::npos)
        throw RecordsError(lineLabel(lineCount_) + " holds a NUL byte: it is not text");
    return true;
}

void DelimitedReader::decodeLine() {
    if (decoder_ && decoder_->name() == format_.encoding) {  // a named encoding: every line
        if (!decoder_->decode(line_, decoded_))
            throw RecordsError(lineLabel(lineCount_) + " is not " + format_.encoding + " text");
        line_.swap(decoded_);
        return;
    }
    if (plainAscii(line_) || isValidUtf8(line_)) return;
    if (format_.encoding != kAutoEncoding) throw RecordsError(lineLabel(lineCount_) + " is not UTF-8 text");
    if (!decoder_) {
        for (const std::string& name : encodingCandidates(otherSample())) {
            auto candidate = std::make_unique<TextDecoder>(name);
            if (candidate->usable() && candidate->decode(line_, decoded_)) {
                decoder_ = std::move(candidate);
                otherEncoding_ = name;
                break;
            }
        }
        if (!decoder_)
            throw RecordsError(lineLabel(lineCount_) + " is not UTF-8 text, nor any encoding it could be in");
    } else if (!decoder_->decode(line_, decoded_)) {
        throw RecordsError(lineLabel(lineCount_) + " is neither UTF-8 nor " + otherEncoding_ +
                           " text (as earlier lines); name the file's encoding");
    }
    line_.swap(decoded_);
    ++otherLines_;
}

// The first line that is not UTF-8 and those in the bytes read ahead that are not either:
// the detector judges an encoding better from several lines than from one.
std::string DelimitedReader::otherSample() const {
    std::string sample = line_;
    const std::string_view ahead(buffer_.data() + begin_, end_ - begin_);
    std::size_t at = 0;
    while (at < ahead.size()) {
        std::size_t end = ahead.find_first_of("\r\n", at);
        if (end == std::string_view::npos) break;  // a line cut off by the end of what is read
        const std::string_view line = ahead.substr(at, end - at);
        if (!plainAscii(line) && !isValidUtf8(line)) sample.append("\n").append(line);
        at = end + 1;
    }
    return sample;
}

// The fields of the line read (and of the lines a quoted field runs on to).
void DelimitedReader::split() {
    cells_.clear();
    const char delimiter = format_.delimiter;
    if (quoting_ && line_.find(format_.quote) != std::string::npos) {
        splitQuoted();
        return;
    }
    const std::string_view text(line_);
    std::size_t at = 0;
    for (;;) {
        const void* found = std::memchr(text.data() + at, delimiter, text.size() - at);
        const std::size_t end =
            found ? static_cast<std::size_t>(static_cast<const char*>(found) - text.data()) : text.size();
        cells_.push_back(trimBlanks(text.substr(at, end - at)));
        if (!found) return;
        at = end + 1;
    }
}

void DelimitedReader::splitQuoted() {
    record_.clear();
    spans_.clear();
    const char delimiter = format_.delimiter, quote = format_.quote;
    std::size_t at = 0;
    for (;;) {
        std::size_t start = at;
        while (start < line_.size() && (line_[start] == ' ' || line_[start] == '\t') && line_[start] != delimiter)
            ++start;
        const std::size_t from = record_.size();
        if (start < line_.size() && line_[start] == quote) {
            const std::int64_t opened = lineCount_;
            at = start + 1;
            for (;;) {
                const std::size_t close = line_.find(quote, at);
                if (close == std::string::npos) {
                    record_.append(line_, at, std::string::npos);
                    record_ += '\n';
                    if (!textLine())
                        throw RecordsError("The quote opened on line " + std::to_string(opened) + " of " +
                                           format_.label + " is never closed");
                    at = 0;
                    continue;
                }
                record_.append(line_, at, close - at);
                at = close + 1;
                if (at < line_.size() && line_[at] == quote) {
                    record_ += quote;
                    ++at;
                    continue;
                }
                break;
            }
        }
        std::size_t end = line_.find(delimiter, at);
        if (end == std::string::npos) end = line_.size();
        record_.append(trimBlanks(std::string_view(line_).substr(at, end - at)));
        spans_.emplace_back(from, record_.size() - from);
        if (end == line_.size()) break;
        at = end + 1;
    }
    for (const auto& [from, size] : spans_) cells_.push_back(std::string_view(record_).substr(from, size));
}

void DelimitedReader::checkCount() {
    if (cells_.size() == expected_) return;
    if (format_.fieldCount == FieldCount::Exact)
        throw RecordsError(
            lineLabel(recordLine_) + " has " + std::to_string(cells_.size()) + " fields, but " +
            (format_.header ? "its header has " : "its first line has ") + std::to_string(expected_) +
            (quoting_ ? "" : " (fields are not quoted here: does a field hold a delimiter or a line break?)"));
    for (std::size_t k = expected_; k < cells_.size(); ++k)
        if (!cells_[k].empty())
            throw RecordsError(lineLabel(recordLine_) + " has a value in column " + std::to_string(k + 1) + " (\"" +
                               std::string(cells_[k]) + "\"), but the header names only " + std::to_string(expected_) +
                               " columns");
    cells_.resize(expected_);
}

std::string DelimitedReader::lineLabel(std::int64_t line) const {
    return "Line " + std::to_string(line) + " of " + format_.label;
}

}  // namespace el::vec
