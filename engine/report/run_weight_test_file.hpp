#pragma once
// The weight-test file of an examine-weight run: open from before the first power pass to
// after the last, every line ended with CR LF. The grid is written beside the file under a
// temporary name and put in its place when the run ends (base/file_replace.hpp), so a run
// that is cancelled leaves the previous file (a grid that may have taken long to make) as
// it was.

#include <filesystem>
#include <optional>
#include <string>

#include "base/file_replace.hpp"

namespace el::engine {

class WeightTestFile {
public:
    // Creates the temporary file beside "WeightTest" + target + ".csv" in `folder`. Throws
    // RunError when the target name holds a path separator or the file cannot be created.
    WeightTestFile(const std::filesystem::path& folder, const std::string& target);
    WeightTestFile(const WeightTestFile&) = delete;
    WeightTestFile& operator=(const WeightTestFile&) = delete;
    // Drops the temporary file if neither close() nor discard() came first.
    ~WeightTestFile() = default;

    void writeLine(const std::string& line);
    // Ends the grid and puts it in place of the previous file; throws RunError when it cannot.
    void close();
    // Drops the new grid; the previous file stays as it was.
    void discard();

    static std::string fileName(const std::string& target) { return "WeightTest" + target + ".csv"; }

    const std::filesystem::path& path() const { return path_; }

private:
    void flush();
    [[noreturn]] void fail(const std::string& what, const std::exception& error) const;

    std::filesystem::path path_;
    std::optional<FileReplacement> replacement_;
    std::string pending_;  // lines not yet handed to the file
};

}  // namespace el::engine
