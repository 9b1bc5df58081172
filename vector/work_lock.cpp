#include "vector/work_lock.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <mutex>

namespace el {
namespace {

constexpr const char* kLockFile = ".earlylate.lock";

struct HeldLock {
    int fd = -1;
    int users = 0;
};

// The locks this process holds, by folder. The window reads and runs on threads of their
// own, so the table has a mutex.
std::map<std::string, HeldLock>& heldLocks() {
    static std::map<std::string, HeldLock> locks;
    return locks;
}
std::mutex& heldLocksMutex() {
    static std::mutex mutex;
    return mutex;
}

}  // namespace

WorkFolderLock::WorkFolderLock() {
    std::error_code ec;
    folder_ = std::filesystem::current_path(ec).string();
    const std::lock_guard guard(heldLocksMutex());
    auto& locks = heldLocks();
    if (const auto it = locks.find(folder_); it != locks.end()) {
        ++it->second.users;
        acquired_ = counted_ = true;
        return;
    }
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
        acquired_ = false;
        return;
    }
    locks[folder_] = HeldLock{fd, 1};
    acquired_ = counted_ = true;
}

WorkFolderLock::~WorkFolderLock() {
    if (!counted_) return;
    const std::lock_guard guard(heldLocksMutex());
    auto& locks = heldLocks();
    const auto it = locks.find(folder_);
    if (it == locks.end() || --it->second.users > 0) return;
    ::flock(it->second.fd, LOCK_UN);
    ::close(it->second.fd);
    locks.erase(it);
}

const char* WorkFolderLock::busyText() {
    return "Another earlylate is reading or running in this folder; try again when it has finished";
}

}  // namespace el
