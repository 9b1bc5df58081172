// Every input the fuzzer ever kept (and the hostile files) runs once through the same
// entry as the fuzz target, so a crash that was found and fixed stays fixed.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "fuzz/read_step_entry.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::test {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> inputsIn(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(FuzzCorpus, EveryKeptInputReadsWithoutAFault) {
    const fs::path root = EARLYLATE_SOURCE_DIR;
    std::size_t count = 0;
    for (const char* folder : {"fuzz/corpus", "tests/data/hostile"}) {
        for (const fs::path& file : inputsIn(root / folder)) {
            SCOPED_TRACE(file.string());
            EXPECT_EQ(fuzz::readStepOnBytes(readFile(file)), 0);
            ++count;
        }
    }
    EXPECT_GE(count, 15u);  // the seeds are there
}

}  // namespace
}  // namespace el::test
