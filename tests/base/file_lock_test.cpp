#include "base/file_lock.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <initializer_list>

#include "tests/support/temp_dir.hpp"

namespace el {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::writeFile;

// A child process that works in its own folder and tries the lock of `file` (a name
// relative to that folder); its exit status says whether it got it (0) or was refused (1).
// With `holdUntil`, it then tells `ready` and keeps the lock until `holdUntil` is closed;
// `parentEnds` are the pipes' other ends, which the child closes.
pid_t lockInChild(const fs::path& folder, const fs::path& file, int ready = -1, int holdUntil = -1,
                  std::initializer_list<int> parentEnds = {}) {
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    for (const int fd : parentEnds) ::close(fd);
    if (::chdir(folder.c_str()) != 0) ::_exit(2);
    int status = 1;
    {
        const FileLock lock(file);
        status = lock.acquired() ? 0 : 1;
        if (ready >= 0) {
            const char byte = static_cast<char>('0' + status);
            if (::write(ready, &byte, 1) != 1) ::_exit(2);
            char ignored;
            while (::read(holdUntil, &ignored, 1) > 0) {
            }
        }
    }
    ::_exit(status);
}

int exitStatusOf(pid_t pid) {
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// Two processes in different working folders name one source differently; while the first
// holds it, the second (and this process) is refused, by a message that names the file.
TEST(FileLock, HoldsAcrossProcessesWhateverTheirWorkingFolders) {
    TempDir dir;
    fs::create_directories(dir / "one");
    fs::create_directories(dir / "two");
    fs::create_directories(dir / "data");
    writeFile(dir / "data" / "regions.csv", "vector,c\r\n");
    int ready[2], hold[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(hold), 0);
    const pid_t holder = lockInChild(dir / "one", "../data/regions.csv", ready[1], hold[0], {ready[0], hold[1]});
    ::close(ready[1]);
    ::close(hold[0]);
    char got = 0;
    ASSERT_EQ(::read(ready[0], &got, 1), 1);
    EXPECT_EQ(got, '0') << "the first process takes the lock";

    EXPECT_EQ(exitStatusOf(lockInChild(dir / "two", "../data/regions.csv")), 1);
    const FileLock here(dir / "data" / "regions.csv");
    EXPECT_FALSE(here.acquired());
    EXPECT_NE(FileLock::busyText(here.file()).find((dir / "data" / "regions.csv").string()), std::string::npos);

    ::close(hold[1]);  // the first process ends and gives the lock back
    EXPECT_EQ(exitStatusOf(holder), 0);
    ::close(ready[0]);
    EXPECT_EQ(exitStatusOf(lockInChild(dir / "two", "../data/regions.csv")), 0);
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
