#pragma once
// Whole-file reading and CR LF line writing for the vector file procedures.

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

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

}  // namespace el::vec
