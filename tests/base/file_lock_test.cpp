#include "base/file_lock.hpp"

#include "base/file_replace.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/child_process.hpp"
#include "tests/support/temp_dir.hpp"

namespace el {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::writeFile;

constexpr const char* kChildTask = "EARLYLATE_TEST_LOCK_IN";

// The child's task, "FOLDER|FILE": it works in FOLDER, tries the lock of FILE (a name
// relative to FOLDER) and exits 0 when it got it, 1 when it was refused. It runs before
// any test, when the program starts.
const bool kChildRan = [] {
    const auto task = test::childTask(kChildTask);
    if (!task) return false;
    const std::size_t bar = task->find('|');
    std::error_code ec;
    fs::current_path(fs::path(task->substr(0, bar)), ec);
    if (ec || bar == std::string::npos) std::_Exit(2);
    const FileLock lock(fs::path(task->substr(bar + 1)));
    std::_Exit(lock.acquired() ? 0 : 1);
}();

int lockInChild(const fs::path& folder, const std::string& file) {
    return test::runChild(kChildTask, folder.string() + "|" + file);
}

// Another process, in another working folder and naming the source differently, is refused
// while this one holds it, and gets it once it is given back.
TEST(FileLock, HoldsAcrossProcessesWhateverTheirWorkingFolders) {
    ASSERT_FALSE(kChildRan);
    TempDir dir;
    fs::create_directories(dir / "two");
    fs::create_directories(dir / "data");
    writeFile(dir / "data" / "regions.csv", "vector,c\r\n");
    {
        const FileLock held(dir / "data" / "regions.csv");
        ASSERT_TRUE(held.acquired());
        EXPECT_EQ(lockInChild(dir / "two", "../data/regions.csv"), 1);
        EXPECT_NE(FileLock::busyText(held.file()).find((dir / "data" / "regions.csv").string()), std::string::npos);
        // The holder still reads the file it locked, and may replace it (the write-back).
        EXPECT_EQ(test::readFile(dir / "data" / "regions.csv"), "vector,c\r\n");
        EXPECT_EQ(replaceFile(dir / "data" / "regions.csv", "vector,p\r\n"), std::nullopt);
        EXPECT_EQ(test::readFile(dir / "data" / "regions.csv"), "vector,p\r\n");
    }
    EXPECT_EQ(lockInChild(dir / "two", "../data/regions.csv"), 0);
}

TEST(FileLock, OncePerFileInAProcessAndGivenBack) {
    TempDir dir;
    writeFile(dir / "a.csv", "a");
    writeFile(dir / "b.csv", "b");
    {
        const FileLock a(dir / "a.csv");
        EXPECT_TRUE(a.acquired());
        EXPECT_FALSE(FileLock(dir / "a.csv").acquired()) << "not re-entrant";
        EXPECT_TRUE(FileLock(dir / "b.csv").acquired()) << "another file is free";
    }
    EXPECT_TRUE(FileLock(dir / "a.csv").acquired());
    // A file that is not there blocks nothing: the Read tells that it is missing.
    EXPECT_TRUE(FileLock(dir / "missing.csv").acquired());
}

}  // namespace
}  // namespace el
