#ifndef _WIN32
// The lock on POSIX systems: flock on a descriptor of the file.
#include "base/file_lock.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace el {
namespace {

enum class Attempt { Locked, Busy, Replaced, Unlockable };

// One attempt on the file as the name gives it now. A replacement renamed over the name
// between the open and the lock leaves this descriptor on the old file: Replaced, and the
// caller tries again on the new one.
Attempt tryLock(const std::filesystem::path& file, int& fd) {
    fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return Attempt::Unlockable;
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) return errno == EWOULDBLOCK ? Attempt::Busy : Attempt::Unlockable;
    struct stat held {
    }, named{};
    if (::fstat(fd, &held) != 0 || ::stat(file.c_str(), &named) != 0) return Attempt::Unlockable;
    if (held.st_dev != named.st_dev || held.st_ino != named.st_ino) return Attempt::Replaced;
    return Attempt::Locked;
}

}  // namespace

FileLock::FileLock(const std::filesystem::path& file) : file_(file) {
    for (int tries = 0; tries < 16; ++tries) {
        int fd = -1;
        const Attempt attempt = tryLock(file, fd);
        if (attempt == Attempt::Locked) {
            handle_ = fd;
            acquired_ = true;
            return;
        }
        if (fd >= 0) ::close(fd);
        if (attempt == Attempt::Busy) return;
        if (attempt == Attempt::Unlockable) break;
    }
    // Only another holder refuses; a file that cannot be locked is worked on as it is.
    acquired_ = true;
}

FileLock::~FileLock() {
    if (handle_ < 0) return;
    const int fd = static_cast<int>(handle_);
    ::flock(fd, LOCK_UN);
    ::close(fd);
}

}  // namespace el
#endif
