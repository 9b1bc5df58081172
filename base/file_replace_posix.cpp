#ifndef _WIN32
// The replacer on POSIX systems: mkostemp, fsync, rename, and a sync of the folder.
#include "base/file_replace.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <system_error>

#include "base/file_replace_parts.hpp"

namespace el {
namespace fs = std::filesystem;
using replace_parts::folderOf;
using replace_parts::replacedFile;
using replace_parts::temporaryPattern;
namespace {

std::string systemReason(int error) { return std::generic_category().message(error); }

// The permissions a file created by open() would get: 0666 less the process's umask, read
// without changing it (umask() would race with other threads creating files).
mode_t newFileMode() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "Umask:") {
            unsigned mask = 022;
            status >> std::oct >> mask;
            return static_cast<mode_t>(0666 & ~mask);
        }
    }
    return 0644;
}

// The permissions the new file takes: the target's, or a new file's. Throws for a folder
// and for a file this process may not write.
mode_t modeFor(const fs::path& target) {
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) throw FileReplaceError("it is a folder");
        // A file the user may not write is not replaced behind its back.
        if (::access(target.c_str(), W_OK) != 0) throw FileReplaceError(systemReason(errno));
        return info.st_mode & 07777;
    }
    if (errno == ENOENT) return newFileMode();
    throw FileReplaceError(systemReason(errno));
}

// Makes a rename in the folder of `target` durable; the rename has happened either way.
void syncFolderOf(const fs::path& target) {
    const int dir = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return;
    ::fsync(dir);
    ::close(dir);
}

}  // namespace

FileReplacement::FileReplacement(const fs::path& target, ReplaceStepHook afterStep)
    : target_(replacedFile(target)), afterStep_(std::move(afterStep)), mode_(modeFor(target_)) {
    std::string pattern = temporaryPattern(target_, "");
    file_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (file_ < 0) throw FileReplaceError("no file can be created in its folder (" + systemReason(errno) + ")");
    temporary_ = pattern;
}

FileReplacement::~FileReplacement() {
    if (file_ >= 0) ::close(static_cast<int>(file_));
    if (!committed_) ::unlink(temporary_.c_str());
}

void FileReplacement::write(std::string_view bytes) {
    if (file_ < 0) throw FileReplaceError("the file is already closed");
    const int fd = static_cast<int>(file_);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw FileReplaceError(systemReason(errno));
        }
        done += static_cast<std::size_t>(n);
    }
    step(ReplaceStep::Written);
}

void FileReplacement::commit() {
    if (file_ < 0) throw FileReplaceError("the file is already closed");
    const int fd = static_cast<int>(file_);
    if (::fchmod(fd, static_cast<mode_t>(mode_)) != 0) throw FileReplaceError(systemReason(errno));
    step(ReplaceStep::PermissionsKept);
    if (::fsync(fd) != 0) throw FileReplaceError(systemReason(errno));
    step(ReplaceStep::Synced);
    file_ = -1;
    if (::close(fd) != 0) throw FileReplaceError(systemReason(errno));
    step(ReplaceStep::Closed);
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0) throw FileReplaceError(systemReason(errno));
    committed_ = true;
    step(ReplaceStep::Renamed);
    syncFolderOf(target_);
    step(ReplaceStep::FolderSynced);
}

NamedReplacement::NamedReplacement(const fs::path& target, const std::string& suffix)
    : target_(replacedFile(target)), mode_(modeFor(target_)) {
    std::string pattern = temporaryPattern(target_, suffix);
    const int fd = ::mkostemps(pattern.data(), static_cast<int>(suffix.size()), O_CLOEXEC);
    if (fd < 0) throw FileReplaceError("no file can be created in its folder (" + systemReason(errno) + ")");
    ::close(fd);
    ::unlink(pattern.c_str());  // the writer makes the file itself
    temporary_ = pattern;
}

NamedReplacement::~NamedReplacement() {
    if (!committed_) ::unlink(temporary_.c_str());
}

void NamedReplacement::commit() {
    const int fd = ::open(temporary_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw FileReplaceError(systemReason(errno));
    const bool synced = ::fchmod(fd, static_cast<mode_t>(mode_)) == 0 && ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    if (!synced) throw FileReplaceError(systemReason(error));
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0) throw FileReplaceError(systemReason(errno));
    committed_ = true;
    syncFolderOf(target_);
}

}  // namespace el
#endif
