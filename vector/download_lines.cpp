#include "vector/download_lines.hpp"

#include "base/file_bytes.hpp"
#include "vector/records_error.hpp"
#include "vector/text_encoding.hpp"

namespace el::vec {
namespace {

DelimitedFormat archiveFormat(const ArchiveCore& core, const std::string& encoding) {
    DelimitedFormat format = core.format;
    if (!encoding.empty() && encoding != kAutoEncoding) format.encoding = encoding;
    return format;
}

}  // namespace

DownloadLines::DownloadLines(std::unique_ptr<ByteSource> bytes, DelimitedFormat format)
    : bytes_(std::move(bytes)), encoding_(format.encoding) {
    reader_ = std::make_unique<DelimitedReader>(*bytes_, std::move(format));
    headers_ = reader_->headers();
}

DownloadLines::DownloadLines(std::unique_ptr<ByteSource> bytes, const ArchiveCore& core, const std::string& encoding)
    : bytes_(std::move(bytes)), headers_(core.columns), archive_(true), label_(core.location) {
    DelimitedFormat format = archiveFormat(core, encoding);
    encoding_ = format.encoding;
    reader_ = std::make_unique<DelimitedReader>(*bytes_, std::move(format));
    for (const auto& [name, value] : core.constants) {
        headers_.push_back(name);
        constants_.push_back(value);
    }
}

bool DownloadLines::next() {
    if (!reader_->next()) return false;
    if (!archive_) return true;
    const std::vector<std::string_view>& fields = reader_->cells();
    const std::size_t named = headers_.size() - constants_.size();
    if (fields.size() < named)
        throw RecordsError("Line " + std::to_string(reader_->line()) + " of " + label_ + " has " +
                           std::to_string(fields.size()) + " fields, but the archive's meta.xml names " +
                           std::to_string(named) + " columns");
    cells_.assign(fields.begin(), fields.begin() + static_cast<std::ptrdiff_t>(named));
    for (const std::string& constant : constants_) cells_.emplace_back(constant);
    return true;
}

bool isArchiveFolder(const std::filesystem::path& folder) {
    std::error_code error;
    return std::filesystem::is_directory(folder, error) && std::filesystem::is_regular_file(folder / "meta.xml", error);
}

bool looksLikeZip(std::string_view bytes) { return bytes.substr(0, 4) == std::string_view("PK\x03\x04", 4); }

std::unique_ptr<DownloadLines> openArchiveFolder(const std::filesystem::path& folder, const std::string& encoding) {
    const auto meta = readWholeFile(folder / "meta.xml");
    if (!meta) throw RecordsError("Cannot open " + (folder / "meta.xml").string());
    const ArchiveCore core = readArchiveMeta(*meta);
    return std::make_unique<DownloadLines>(std::make_unique<FileBytes>(folder / core.location), core, encoding);
}

Table tableOf(DownloadLines& lines) {
    Table table;
    table.headers = lines.headers();
    table.delimiter = lines.delimiter();
    while (lines.next()) {
        std::vector<std::string> row(lines.cells().begin(), lines.cells().end());
        row.resize(table.headers.size());
        table.rows.push_back(std::move(row));
        table.rowNumbers.push_back(lines.line());
    }
    if (lines.encoding() != kAutoEncoding) table.encoding.name = lines.encoding();
    table.otherEncodingLines = lines.reader().otherEncodingLines();
    table.otherEncoding = lines.reader().otherEncoding();
    return table;
}

}  // namespace el::vec
