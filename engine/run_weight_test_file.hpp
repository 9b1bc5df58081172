#pragma once
// The weight-test file of an examine-weight run: open from before the first power pass to
// after the last, every line ended with CR LF.

#include <filesystem>
#include <fstream>
#include <string>

namespace el::engine {

class WeightTestFile {
public:
    // Creates (or replaces) "WeightTest" + target + ".csv" in `folder`. Throws RunError when
    // the target name holds a path separator or the file cannot be created.
    WeightTestFile(const std::filesystem::path& folder, const std::string& target);

    void writeLine(const std::string& line);
    void close();
    // Closes and removes the file (a run that was cancelled leaves no partial grid).
    void discard();

    static std::string fileName(const std::string& target) { return "WeightTest" + target + ".csv"; }

private:
    std::filesystem::path path_;
    std::ofstream out_;
};

}  // namespace el::engine
