// Two tool processes given one source: while one holds the source's lock, the other is
// refused before it writes any of its outputs, whatever folder it works in.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/file_lock.hpp"
#include "tests/support/foreign_lock.hpp"
#include "tests/support/run_batch.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::test {
namespace {

namespace fs = std::filesystem;

const std::string kSample =
    "vector,c\r\nsp1,sp2,type$,name$,n,x,y\r\n1990,1991,point,A,1,0,0\r\n"
    "1995,1993,point,B,1,1,0\r\n2000,1999,point,C,1,0,1\r\n";

TEST(SourceLock, ASecondProcessInAnotherFolderIsRefusedWhileAnotherWorks) {
    TempDir dir;
    fs::create_directories(dir / "data");
    fs::create_directories(dir / "elsewhere");
    writeFile(dir / "data" / "regions.csv", kSample);
    writeFile(dir / "elsewhere" / "WeightTestsp2.csv", "the other process's weight test");
    {
        const ForeignLock other(dir / "data" / "regions.csv");
        ASSERT_TRUE(other.held());
        EXPECT_EQ(runBatch(dir / "elsewhere", "--no-reliability --add-prediction ../data/regions.csv"), 1);
        EXPECT_EQ(readFile(dir / "elsewhere" / "stderr.txt"),
                  "earlylate: " + FileLock::busyText("../data/regions.csv") + "\n");
        EXPECT_EQ(readFile(dir / "data" / "regions.csv"), kSample);
        EXPECT_EQ(runBatch(dir / "elsewhere", "--examine-weight -t sp2 ../data/regions.csv"), 1);
        EXPECT_EQ(readFile(dir / "elsewhere" / "WeightTestsp2.csv"), "the other process's weight test");
    }
    // Once the other has finished, the run goes ahead.
    EXPECT_EQ(runBatch(dir / "elsewhere", "--no-reliability --add-prediction ../data/regions.csv"), 0)
        << readFile(dir / "elsewhere" / "stderr.txt");
    EXPECT_NE(readFile(dir / "data" / "regions.csv"), kSample);
}

// The window takes the lock for each Read and each run (its tests check the refusal there);
// it is not re-entrant, so a hold in this process refuses the batch runner as another would.
TEST(SourceLock, AHoldInThisProcessRefusesTheRunnerUntilGivenBack) {
    TempDir dir;
    writeFile(dir / "regions.csv", kSample);
    {
        const FileLock mine(dir / "regions.csv");
        EXPECT_TRUE(mine.acquired());
        EXPECT_EQ(runBatch(dir.path(), "--no-reliability regions.csv"), 1);
    }
    EXPECT_EQ(runBatch(dir.path(), "--no-reliability regions.csv"), 0) << readFile(dir / "stderr.txt");
}

}  // namespace
}  // namespace el::test
