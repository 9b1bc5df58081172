#pragma once
// A fresh working directory and a recording host for each vector file test.

#include <string>

#include "tests/support/recording_host.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::test {

struct VectorFixture {
    TempDir dir;
    ScopedCwd cwd{dir.path()};
    RecordingHost host;

    // Writes `bytes` to NAME in the working directory and returns the name.
    std::string file(const std::string& bytes, const std::string& name = "in.csv") {
        writeFile(dir / name, bytes);
        return name;
    }
    bool exists(const std::string& name) const { return std::filesystem::exists(dir / name); }
};

}  // namespace el::test
