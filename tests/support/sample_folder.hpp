#pragma once
// A fresh folder holding a copy of the bundled sample, in which the batch runner is run on it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/run_batch.hpp"
#include "tests/support/sample_file.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::test {

struct SampleFolder {
    SampleFolder() { copySample(dir.path()); }
    // The batch runner on the sample with `args`; its exit status.
    int run(const std::string& args) { return runBatch(dir.path(), "--quiet " + args + " sample.csv"); }
    bool has(const std::string& name) const { return std::filesystem::exists(dir / name); }
    std::string read(const std::string& name) const { return readFile(dir / name); }
    // Runs a shell command in the folder; its standard output.
    std::string shell(const std::string& command) const {
        const std::string full = "cd " + shellQuote(dir.path().string()) + " && " + command + " > shell.txt 2>&1";
        EXPECT_EQ(std::system(full.c_str()), 0) << read("shell.txt");
        return read("shell.txt");
    }
    TempDir dir;
};

}  // namespace el::test
