#pragma once
// Whole-file reading, line splitting, CR LF line writing and scratch files for the vector
// file procedures and the write-back.

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace el::vec {

// The file's bytes, or nothing when it cannot be opened or read.
std::optional<std::string> readWholeFile(const std::filesystem::path& file);

// Creates (or replaces) a text file and writes lines ended by CR LF. close() reports
// whether everything reached the file; the destructor closes without reporting.
class LineWriter {
public:
    explicit LineWriter(const std::filesystem::path& file);
    bool isOpen() const { return out_.is_open(); }
    void writeLine(std::string_view line);
    // Text without a line end, to build a long line piece by piece.
    void write(std::string_view text);
    bool close();

private:
    std::ofstream out_;
};

// Removes a file if it exists; true when it is gone afterwards.
bool removeFile(const std::filesystem::path& file);

// A scratch file that is removed when the guard goes, however the work ends (a host may
// also stop it in a yield).
class ScratchFile {
public:
    explicit ScratchFile(std::filesystem::path path) : path_(std::move(path)) {}
    ~ScratchFile() { removeFile(path_); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The lines of a text, split at CR LF, LF or CR; a final line end does not start another line.
std::vector<std::string_view> linesOf(std::string_view text);

// The line without the run of commas at its end (a spreadsheet's empty trailing fields).
std::string_view withoutTrailingCommas(std::string_view line);

}  // namespace el::vec
