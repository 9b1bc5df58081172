#pragma once
// The weight-test file of an examine-weight run: open from before the first power pass to
// after the last, every line ended with CR LF. The grid is written beside the file under a
// temporary name and put in its place when the run ends, so a run that is cancelled leaves
// the previous file (a grid that may have taken long to make) as it was.

#include <filesystem>
#include <fstream>
#include <string>

namespace el::engine {

class WeightTestFile {
public:
    // Creates the temporary file beside "WeightTest" + target + ".csv" in `folder`. Throws
    // RunError when the target name holds a path separator or the file cannot be created.
    WeightTestFile(const std::filesystem::path& folder, const std::string& target);
    WeightTestFile(const WeightTestFile&) = delete;
    WeightTestFile& operator=(const WeightTestFile&) = delete;
    // Drops the temporary file if neither close() nor discard() came first.
    ~WeightTestFile();

    void writeLine(const std::string& line);
    // Ends the grid and puts it in place of the previous file; throws RunError when it cannot.
    void close();
    // Drops the new grid; the previous file stays as it was.
    void discard();

    static std::string fileName(const std::string& target) { return "WeightTest" + target + ".csv"; }
    static std::string temporaryName(const std::string& target) { return fileName(target) + ".part"; }

    const std::filesystem::path& path() const { return path_; }

private:
    void removeTemporary();

    std::filesystem::path path_;
    std::filesystem::path temporary_;
    std::ofstream out_;
    bool ended_ = false;
};

}  // namespace el::engine
