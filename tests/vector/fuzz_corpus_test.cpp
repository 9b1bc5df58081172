// Every input the fuzzers ever kept (and the hostile files) runs once through the same
// entry as its fuzz target, so a fault that was found and fixed stays fixed. The GIS
// import's corpus is replayed with the GIS tests.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "fuzz/number_entry.hpp"
#include "fuzz/read_step_entry.hpp"
#include "fuzz/records_entry.hpp"
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

TEST(FuzzCorpus, EveryKeptNumberTextParsesWithoutAFault) {
    const auto inputs = inputsIn(fs::path(EARLYLATE_SOURCE_DIR) / "fuzz" / "corpus-number");
    for (const fs::path& file : inputs) {
        SCOPED_TRACE(file.string());
        EXPECT_EQ(fuzz::numberOnBytes(readFile(file)), 0);
    }
    EXPECT_GE(inputs.size(), 15u);
}

TEST(FuzzCorpus, EveryKeptRecordsTableAndArchiveDescriptorReadsWithoutAFault) {
    const fs::path root = fs::path(EARLYLATE_SOURCE_DIR) / "fuzz";
    const auto tables = inputsIn(root / "corpus-records-table");
    for (const fs::path& file : tables) {
        SCOPED_TRACE(file.string());
        EXPECT_EQ(fuzz::recordsTableOnBytes(readFile(file)), 0);
    }
    const auto metas = inputsIn(root / "corpus-archive-meta");
    for (const fs::path& file : metas) {
        SCOPED_TRACE(file.string());
        EXPECT_EQ(fuzz::archiveMetaOnBytes(readFile(file)), 0);
    }
    EXPECT_GE(tables.size(), 3u);
    EXPECT_GE(metas.size(), 3u);
}

}  // namespace
}  // namespace el::test
