#include "vector/work_lock.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace el::vec {

WorkFolderLock::WorkFolderLock() {
    const int fd = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        acquired_ = true;
        return;
    }
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        // Only another holder refuses; a folder that cannot be locked is worked in as it is.
        acquired_ = errno != EWOULDBLOCK;
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

}  // namespace el::vec
