// Two tool processes in one working directory: while one holds the folder's lock, the
// other is refused before it writes any of its outputs.

#include <gtest/gtest.h>

#include <unistd.h>

#include <vector>

#include "tests/support/folder_lock.hpp"
#include "tests/support/run_batch.hpp"
#include "tests/support/temp_dir.hpp"
#include "vector/work_lock.hpp"

namespace el::test {
namespace {

namespace fs = std::filesystem;

const std::string kSample = "vector,c\r\nsp1,sp2,type$,name$,n,x,y\r\n1990,1991,point,A,1,0,0\r\n"
                            "1995,1993,point,B,1,1,0\r\n2000,1999,point,C,1,0,1\r\n";

TEST(FolderLock, ASecondProcessIsRefusedWhileAnotherWorks) {
    TempDir dir;
    writeFile(dir / "regions.csv", kSample);
    writeFile(dir / "WeightTestsp2.csv", "the other process's weight test");
    {
        const ForeignLock other(dir.path());
        ASSERT_TRUE(other.held());
        EXPECT_EQ(runBatch(dir.path(), "--no-reliability --add-prediction regions.csv"), 1);
        EXPECT_EQ(readFile(dir / "stderr.txt"), std::string("earlylate: ") + vec::WorkFolderLock::busyText() + "\n");
        EXPECT_EQ(readFile(dir / "regions.csv"), kSample);
        EXPECT_EQ(runBatch(dir.path(), "--examine-weight -t sp2 regions.csv"), 1);
        EXPECT_EQ(readFile(dir / "WeightTestsp2.csv"), "the other process's weight test");
    }
    // Once the other has finished, the run goes ahead.
    EXPECT_EQ(runBatch(dir.path(), "--no-reliability --add-prediction regions.csv"), 0) << readFile(dir / "stderr.txt");
    EXPECT_NE(readFile(dir / "regions.csv"), kSample);
}

// The window takes the lock for each Read and each run (its tests check the refusal there);
// it is not re-entrant, so a second hold in the same process is refused like another process.
TEST(FolderLock, HeldOnceAtATimeAndGivenBack) {
    TempDir dir;
    writeFile(dir / "regions.csv", kSample);
    const ScopedCwd cwd(dir.path());
    {
        const vec::WorkFolderLock mine;
        EXPECT_TRUE(mine.acquired());
        EXPECT_FALSE(vec::WorkFolderLock().acquired());
        EXPECT_EQ(runBatch(dir.path(), "--no-reliability regions.csv"), 1);
    }
    EXPECT_TRUE(vec::WorkFolderLock().acquired());
    EXPECT_EQ(runBatch(dir.path(), "--no-reliability regions.csv"), 0) << readFile(dir / "stderr.txt");
}

}  // namespace
}  // namespace el::test
