#include "vector/work_lock.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace el {
namespace {

constexpr const char* kLockFile = ".earlylate.lock";

}  // namespace

WorkFolderLock::WorkFolderLock() {
    const int fd = ::open(kLockFile, O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        acquired_ = true;
        return;
    }
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        ::close(fd);
        return;
    }
    fd_ = fd;
    acquired_ = true;
}

WorkFolderLock::~WorkFolderLock() {
    if (fd_ < 0) return;
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
}

const char* WorkFolderLock::busyText() {
    return "Another earlylate is reading or running in this folder; try again when it has finished";
}

}  // namespace el
