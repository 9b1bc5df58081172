#pragma once
// A folder for the side log and a recording host for each vector file test. The core
// works on text in memory, so nothing runs in the folder and no test changes directory.

#include <string>

#include "tests/support/recording_host.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::test {

struct VectorFixture {
    TempDir dir;
    RecordingHost host;

    // Where the scan writes its side log in these tests, and what it holds ("" for none).
    std::filesystem::path sideLog() const { return dir / "VectorFileSize.log"; }
    std::string sideLogText() const { return std::filesystem::exists(sideLog()) ? readFile(sideLog()) : ""; }

    // The Read step on `bytes`, named "in.csv", with the checks as the host says.
    vec::ReadOutcome read(const std::string& bytes, const std::string& encoding = "auto") {
        return vec::readVectorBytes(bytes, "in.csv", "null", host, encoding, sideLog());
    }
};

}  // namespace el::test
