#pragma once
// The lines of a download as the records import reads them, whether the columns are named by
// the file's own header line (a delimited file, GBIF's simple CSV) or by the descriptor of a
// Darwin Core archive (its core file has no header the reader trusts: meta.xml names each
// index). Either way the reader sees headers and cells; an archive's constant terms are
// cells at the end of every line.
//
// Where the bytes come from is the caller's: a file, a folder archive's core file (here), or
// an entry of a zip (gis/download_source.hpp, through GDAL).

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "vector/archive_meta.hpp"
#include "vector/delimited_text.hpp"
#include "vector/records.hpp"

namespace el::vec {

class DownloadLines {
public:
    // A delimited text whose first line names the columns.
    DownloadLines(std::unique_ptr<ByteSource> bytes, DelimitedFormat format);
    // An archive's core file as `core` describes it; `encoding` other than "auto" overrides
    // the descriptor's.
    DownloadLines(std::unique_ptr<ByteSource> bytes, const ArchiveCore& core, const std::string& encoding);

    const std::vector<std::string>& headers() const { return headers_; }
    char delimiter() const { return reader_->delimiter(); }
    // The next line; false at the end. Throws RecordsError naming the line for a line the
    // reader refuses or an archive line with fewer fields than the descriptor names.
    bool next();
    // Valid until the next call of next().
    const std::vector<std::string_view>& cells() const { return archive_ ? cells_ : reader_->cells(); }
    std::int64_t line() const { return reader_->line(); }
    const DelimitedReader& reader() const { return *reader_; }
    // The encoding the lines are read in ("auto": UTF-8, other lines as their bytes suggest).
    const std::string& encoding() const { return encoding_; }

private:
    std::unique_ptr<ByteSource> bytes_;
    std::unique_ptr<DelimitedReader> reader_;
    std::vector<std::string> headers_;
    std::vector<std::string> constants_;
    std::vector<std::string_view> cells_;
    bool archive_ = false;
    std::string label_;
    std::string encoding_;
};

// True for a folder that holds a meta.xml (an unpacked Darwin Core archive).
bool isArchiveFolder(const std::filesystem::path& folder);

// True when `bytes` begin as a zip archive does.
bool looksLikeZip(std::string_view bytes);

// The lines of an unpacked archive's core file. Throws RecordsError.
std::unique_ptr<DownloadLines> openArchiveFolder(const std::filesystem::path& folder, const std::string& encoding);

// Every line of a download as a table (rows as wide as the headers), for the records tables.
Table tableOf(DownloadLines& lines);

}  // namespace el::vec
