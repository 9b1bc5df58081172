#include "base/file_replace.hpp"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "base/log_file.hpp"
#include "tests/support/temp_dir.hpp"

namespace el {
namespace {

namespace fs = std::filesystem;
using test::filesIn;
using test::readFile;
using test::TempDir;
using test::writeFile;

#ifndef _WIN32
mode_t modeOf(const fs::path& file) {
    struct stat info {};
    EXPECT_EQ(::stat(file.c_str(), &info), 0) << file;
    return info.st_mode & 07777;
}

// Files larger than `bytes` cannot be written while it lives: write() fails with EFBIG, as
// it fails with ENOSPC on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        previousSignal_ = ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        ::signal(SIGXFSZ, previousSignal_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    sighandler_t previousSignal_ = SIG_DFL;
};
#endif

TEST(FileReplace, ReplacesTheContentsKeepsPermissionsAndLeavesNothingBeside) {
    TempDir dir;
    writeFile(dir / "table.csv", "old contents that are longer than the new\n");
#ifndef _WIN32
    ::chmod((dir / "table.csv").c_str(), 0640);
#endif
    EXPECT_EQ(replaceFile(dir / "table.csv", "new\n"), std::nullopt);
    EXPECT_EQ(readFile(dir / "table.csv"), "new\n");
    EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"table.csv"});
    EXPECT_EQ(replaceFile(dir / "new.csv", "x"), std::nullopt);
    EXPECT_EQ(readFile(dir / "new.csv"), "x");
#ifndef _WIN32  // Windows files have no permission bits: ReplaceFileW keeps their attributes
    EXPECT_EQ(modeOf(dir / "table.csv"), 0640u);
    // A new file gets what open() would give it under the process's umask.
    const mode_t previous = ::umask(027);
    EXPECT_EQ(replaceFile(dir / "fresh.csv", "x"), std::nullopt);
    ::umask(previous);
    EXPECT_EQ(modeOf(dir / "fresh.csv"), 0640u);
#endif
}

TEST(FileReplace, AFailingWriteLeavesTheOldFileAndNoTemporary) {
    TempDir dir;
    writeFile(dir / "fit.svg", "the previous figure");
#ifndef _WIN32  // a file size limit is how a full disk is made; Windows has none
    {
        const FileSizeLimit full(8);
        const auto reason = replaceFile(dir / "fit.svg", std::string(4096, 'x'));
        ASSERT_TRUE(reason.has_value());
        EXPECT_NE(reason->find("large"), std::string::npos) << *reason;
    }
#endif
    EXPECT_EQ(readFile(dir / "fit.svg"), "the previous figure");
    EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"fit.svg"});

    // A file that cannot be made beside the target, and a target that is a folder.
    EXPECT_TRUE(replaceFile(dir / "no-such-folder" / "x.csv", "x").has_value());
    fs::create_directory(dir / "a-folder");
    EXPECT_EQ(replaceFile(dir / "a-folder", "x"), std::optional<std::string>("it is a folder"));
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"a-folder", "fit.svg"}));
}

// Stopped after each step (a crash, a cancel, a full disk at fsync): before the rename
// the target is as it was, from it on it is the new file; never a temporary left.
TEST(FileReplace, StoppedAfterAnyStepTheTargetIsWholeOldOrWholeNew) {
    const std::vector<ReplaceStep> steps = {ReplaceStep::Written, ReplaceStep::PermissionsKept,
                                            ReplaceStep::Synced,  ReplaceStep::Closed,
                                            ReplaceStep::Renamed, ReplaceStep::FolderSynced};
    for (const ReplaceStep stop : steps) {
        TempDir dir;
        writeFile(dir / "log.csv", "old");
        const auto reason = replaceFile(dir / "log.csv", "new", [stop](ReplaceStep done) {
            if (done == stop) throw std::runtime_error("stopped");
        });
        EXPECT_EQ(reason, std::optional<std::string>("stopped"));
        const bool renamed = stop == ReplaceStep::Renamed || stop == ReplaceStep::FolderSynced;
        EXPECT_EQ(readFile(dir / "log.csv"), renamed ? "new" : "old") << static_cast<int>(stop);
        EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"log.csv"}) << static_cast<int>(stop);
    }
}

TEST(FileReplace, AReplacementDroppedUncommittedLeavesTheTargetAndALinkIsFollowed) {
    TempDir dir;
    writeFile(dir / "grid.csv", "previous grid");
    {
        FileReplacement growing(dir / "grid.csv");
        growing.write("line 1\r\n");
        EXPECT_TRUE(fs::exists(growing.temporary()));
        EXPECT_EQ(growing.temporary().parent_path(), dir.path());
    }
    EXPECT_EQ(readFile(dir / "grid.csv"), "previous grid");
    EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"grid.csv"});

    fs::create_directory(dir / "data");
    writeFile(dir / "data" / "real.csv", "old");
    std::error_code linkError;
    fs::create_symlink(dir / "data" / "real.csv", dir / "link.csv", linkError);
    if (linkError) GTEST_SKIP() << "no symbolic link can be made here: " << linkError.message();
    EXPECT_EQ(replaceFile(dir / "link.csv", "new"), std::nullopt);
    EXPECT_TRUE(fs::is_symlink(dir / "link.csv"));
    EXPECT_EQ(readFile(dir / "data" / "real.csv"), "new");
    EXPECT_EQ(filesIn(dir / "data"), std::vector<std::string>{"real.csv"});
}

// A write-protected file is refused as writing into it would be, also for the folder's owner.
TEST(FileReplace, AFileTheUserMayNotWriteIsLeftAsItIs) {
    TempDir dir;
    writeFile(dir / "kept.csv", "protected");
#ifdef _WIN32
    // The Windows form: the read-only attribute.
    fs::permissions(dir / "kept.csv", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_EQ(replaceFile(dir / "kept.csv", "new"), std::optional<std::string>("Permission denied"));
    fs::permissions(dir / "kept.csv", fs::perms::owner_write, fs::perm_options::add);
#else
    ::chmod((dir / "kept.csv").c_str(), 0444);
    ::chmod(dir.path().c_str(), 0777);
    const pid_t child = ::fork();
    if (child == 0) {
        // The superuser may write anything: the check runs as an ordinary user.
        if (::getuid() == 0 && ::setuid(65534) != 0) ::_exit(2);
        const auto reason = replaceFile(dir / "kept.csv", "new");
        ::_exit(reason == std::optional<std::string>("Permission denied") ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
#endif
    EXPECT_EQ(readFile(dir / "kept.csv"), "protected");
    EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"kept.csv"});
}

TEST(LogFile, IsReplacedWholeAndAFailedSaveKeepsThePreviousLog) {
    TempDir dir;
    writeFile(dir / "run.log", "a much longer previous log\r\n");
    EXPECT_EQ(writeLogFile(dir / "run.log", {"one", "two"}), std::nullopt);
    EXPECT_EQ(readFile(dir / "run.log"), "one\r\ntwo\r\n");
#ifndef _WIN32
    {
        const FileSizeLimit full(4);
        EXPECT_TRUE(writeLogFile(dir / "run.log", {"three", "four"}).has_value());
    }
#endif
    EXPECT_EQ(readFile(dir / "run.log"), "one\r\ntwo\r\n");
    EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"run.log"});
    EXPECT_EQ(writeLogFile(dir.path(), {"x"}), std::optional<std::string>("it is a folder"));
    EXPECT_EQ(writeLogFile("", {"x"}), std::optional<std::string>("no file name given"));
}

}  // namespace
}  // namespace el
