#pragma once
// A file's lock as another process would hold it, and a way to see that a process holds it.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace el::test {

// An exclusive flock on the file, through a descriptor of its own.
class ForeignLock {
public:
    explicit ForeignLock(const std::filesystem::path& file) : fd_(::open(file.c_str(), O_RDONLY)) {
        held_ = fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
    }
    ~ForeignLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    ForeignLock(const ForeignLock&) = delete;
    ForeignLock& operator=(const ForeignLock&) = delete;
    bool held() const { return held_; }

private:
    int fd_;
    bool held_ = false;
};

// True when process `pid` holds a flock on `file` (read from the kernel's list of locks,
// so looking does not take the lock from under it).
inline bool holdsLockOn(pid_t pid, const std::filesystem::path& file) {
    struct stat info{};
    if (::stat(file.c_str(), &info) != 0) return false;
    const std::string inode = ":" + std::to_string(info.st_ino) + " ";
    std::ifstream locks("/proc/locks");
    for (std::string line; std::getline(locks, line);) {
        std::istringstream fields(line);
        std::string number, kind, mode, access, owner;
        fields >> number >> kind >> mode >> access >> owner;
        if (kind == "FLOCK" && owner == std::to_string(pid) && (line + " ").find(inode) != std::string::npos) return true;
    }
    return false;
}

}  // namespace el::test
