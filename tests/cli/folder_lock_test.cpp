// Two tool processes in one working directory: while one holds the folder's lock, the
// other is refused before it touches the scratch files.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <vector>

#include "tests/support/recording_host.hpp"
#include "tests/support/run_batch.hpp"
#include "tests/support/temp_dir.hpp"
#include "vector/vector_file.hpp"
#include "vector/work_lock.hpp"

namespace el::test {
namespace {

namespace fs = std::filesystem;

const std::string kSample = "vector,c\r\nsp1,sp2,type$,name$,n,x,y\r\n1990,1991,point,A,1,0,0\r\n"
                            "1995,1993,point,B,1,1,0\r\n2000,1999,point,C,1,0,1\r\n";

// The lock as another process would hold it: its own open file, flock'ed.
class ForeignLock {
public:
    explicit ForeignLock(const fs::path& dir) : fd_(::open((dir / ".earlylate.lock").c_str(), O_RDWR | O_CREAT, 0644)) {
        EXPECT_GE(fd_, 0);
        EXPECT_EQ(::flock(fd_, LOCK_EX | LOCK_NB), 0);
    }
    ~ForeignLock() { ::close(fd_); }

private:
    int fd_;
};

TEST(FolderLock, ASecondProcessIsRefusedWhileAnotherWorks) {
    TempDir dir;
    ScopedCwd cwd(dir.path());
    writeFile(dir / "regions.csv", kSample);
    RecordingHost host;
    ASSERT_EQ(readVectorFile("regions.csv", "null", host).erf, 0);  // as the window's Read: takes the lock, gives it back
    writeFile(dir / "temp1.tmp", "the other process's scratch copy");
    {
        const ForeignLock other(dir.path());
        EXPECT_EQ(runBatch(dir.path(), "--no-reliability --add-prediction regions.csv"), 1);
        EXPECT_EQ(readFile(dir / "stderr.txt"), std::string("earlylate: ") + WorkFolderLock::busyText() + "\n");
        EXPECT_EQ(readFile(dir / "temp1.tmp"), "the other process's scratch copy");
        EXPECT_EQ(readFile(dir / "regions.csv"), kSample);
        // The window's Read is refused with the same text.
        EXPECT_EQ(readVectorFile("regions.csv", "null", host).erf, 1);
        EXPECT_EQ(host.messages, std::vector<std::string>{WorkFolderLock::busyText()});
    }
    // Once the other has finished, the run goes ahead.
    EXPECT_EQ(runBatch(dir.path(), "--no-reliability --add-prediction regions.csv"), 0) << readFile(dir / "stderr.txt");
    EXPECT_NE(readFile(dir / "regions.csv"), kSample);
}

}  // namespace
}  // namespace el::test
