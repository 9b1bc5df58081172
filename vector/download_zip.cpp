#include "vector/download_zip.hpp"

#include <algorithm>
#include <array>
#include <fstream>
#include <string_view>

#include "base/file_bytes.hpp"
#include "base/text.hpp"
#include "vector/archive_meta.hpp"
#include "vector/records_error.hpp"
#include "vector/records_source.hpp"

namespace el::vec {
namespace {

std::string_view lastPart(std::string_view entry) {
    const std::size_t slash = entry.rfind('/');
    return slash == std::string_view::npos ? entry : entry.substr(slash + 1);
}

bool delimitedName(std::string_view entry) {
    const std::string name = asciiLower(lastPart(entry));
    for (const std::string_view extension : {".csv", ".tsv", ".txt", ".tab"})
        if (name.size() > extension.size() && name.ends_with(extension)) return true;
    return false;
}

std::string entryList(const std::vector<std::string>& entries) {
    std::string list;
    for (const std::string& entry : entries) list += (list.empty() ? "" : ", ") + entry;
    return list.empty() ? "none" : list;
}

// The one delimited file of a zip without meta.xml: its only file, else its only .csv/.tsv/.txt.
std::string onlyTable(const std::string& shown, const std::vector<std::string>& entries) {
    if (entries.size() == 1) return entries.front();
    std::vector<std::string> tables;
    for (const std::string& entry : entries)
        if (delimitedName(entry)) tables.push_back(entry);
    if (tables.size() == 1) return tables.front();
    throw RecordsError(shown + " holds " +
                       (entries.empty() ? std::string("no file")
                                        : "no meta.xml and " + std::string(tables.empty() ? "no" : "several") +
                                              " delimited files (" + entryList(entries) + ")") +
                       ": give a download with one table, or a Darwin Core archive");
}

std::string wholeOf(ByteSource& bytes) {
    std::string text;
    std::array<char, 1 << 16> piece{};
    while (const std::size_t got = bytes.read(piece.data(), piece.size())) text.append(piece.data(), got);
    return text;
}

}  // namespace

void refuseFolder(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        throw RecordsError(path.string() +
                           " is a folder but no Darwin Core archive (it holds no meta.xml): name the table or the zip "
                           "inside it, or the folder that holds meta.xml");
}

std::string metaEntry(const std::vector<std::string>& entries) {
    std::string best;
    for (const std::string& entry : entries)
        if (equalsIgnoringAsciiCase(lastPart(entry), "meta.xml") &&
            (best.empty() || std::count(entry.begin(), entry.end(), '/') < std::count(best.begin(), best.end(), '/')))
            best = entry;
    return best;
}

std::unique_ptr<DownloadLines> openZipDownload(ZipFiles& zip, const std::filesystem::path& file,
                                               const std::string& shown, const DelimitedFormat& plain,
                                               const std::string& encoding) {
    const std::vector<std::string> entries = zip.entries();
    const std::string meta = metaEntry(entries);
    const std::string name = utf8Path(file.filename());
    if (meta.empty()) {
        DelimitedFormat format = plain;
        const std::string entry = onlyTable(shown, entries);
        format.label = entry + " in " + name;
        return std::make_unique<DownloadLines>(zip.open(entry), format);
    }
    ArchiveCore core = readArchiveMeta(wholeOf(*zip.open(meta)));
    const std::string folder = meta.substr(0, meta.size() - lastPart(meta).size());
    core.format.label = folder + core.location + " in " + name;
    return std::make_unique<DownloadLines>(zip.open(folder + core.location), core, encoding);
}

bool isZipFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::array<char, 4> head{};
    in.read(head.data(), head.size());
    return in.gcount() == 4 && looksLikeZip(std::string_view(head.data(), head.size()));
}

std::unique_ptr<DownloadLines> openDownloadWith(const std::filesystem::path& file, const DelimitedFormat& plain,
                                                const std::string& encoding, const ZipOpener& openZip) {
    try {
        if (isArchiveFolder(file)) return openArchiveFolder(file, encoding);
        refuseFolder(file);
        if (isZipFile(file)) return openZipDownload(*openZip(file), file, utf8Path(file), plain, encoding);
        return std::make_unique<DownloadLines>(std::make_unique<FileBytes>(file), plain);
    } catch (const RecordsError& e) {
        const std::string what = e.what();
        if (what.find(file.filename().string()) != std::string::npos) throw;
        throw RecordsError(file.string() + ": " + what);
    }
}

Table readTableDownload(const std::filesystem::path& table, const std::string& encoding, const ZipOpener& openZip) {
    if (!isArchiveFolder(table) && !isZipFile(table)) return readTableFile(table, encoding);
    DelimitedFormat format;
    format.encoding = encoding.empty() ? "auto" : encoding;
    return tableOf(*openDownloadWith(table, format, encoding, openZip));
}

}  // namespace el::vec
