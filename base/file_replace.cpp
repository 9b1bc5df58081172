#include "base/file_replace.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <system_error>

namespace el {
namespace fs = std::filesystem;
namespace {

std::string systemReason(int error) { return std::generic_category().message(error); }

// The file to replace: the target of a symbolic link, so that the link itself survives.
fs::path replacedFile(const fs::path& target) {
    std::error_code ec;
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::canonical(target, ec);
        if (!ec) return resolved;
    }
    return target;
}

fs::path folderOf(const fs::path& file) { return file.has_parent_path() ? file.parent_path() : fs::path("."); }

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

// The mkstemp pattern of a temporary file beside `target`: hidden, named after it.
std::string temporaryPattern(const fs::path& target, const std::string& suffix) {
    // The name appended, not "." + name: GCC 12 at -O2 takes "text" + temporary for an
    // overlapping copy (-Wrestrict).
    const std::string name = std::string(".").append(target.filename().string()).append(".new-XXXXXX").append(suffix);
    return (folderOf(target) / name).string();
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
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0) throw FileReplaceError("no file can be created in its folder (" + systemReason(errno) + ")");
    temporary_ = pattern;
}

FileReplacement::~FileReplacement() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_) ::unlink(temporary_.c_str());
}

void FileReplacement::step(ReplaceStep done) const {
    if (afterStep_) afterStep_(done);
}

void FileReplacement::write(std::string_view bytes) {
    if (fd_ < 0) throw FileReplaceError("the file is already closed");
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw FileReplaceError(systemReason(errno));
        }
        done += static_cast<std::size_t>(n);
    }
    step(ReplaceStep::Written);
}

void FileReplacement::commit() {
    if (fd_ < 0) throw FileReplaceError("the file is already closed");
    if (::fchmod(fd_, mode_) != 0) throw FileReplaceError(systemReason(errno));
    step(ReplaceStep::PermissionsKept);
    if (::fsync(fd_) != 0) throw FileReplaceError(systemReason(errno));
    step(ReplaceStep::Synced);
    const int fd = fd_;
    fd_ = -1;
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
    const bool synced = ::fchmod(fd, mode_) == 0 && ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    if (!synced) throw FileReplaceError(systemReason(error));
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0) throw FileReplaceError(systemReason(errno));
    committed_ = true;
    syncFolderOf(target_);
}

std::optional<std::string> replaceFile(const fs::path& target, std::string_view bytes,
                                       const ReplaceStepHook& afterStep) {
    if (target.empty()) return std::string("no file name given");
    try {
        FileReplacement replacement(target, afterStep);
        replacement.write(bytes);
        replacement.commit();
        return std::nullopt;
    } catch (const std::exception& error) {  // a file error, or what a step hook threw
        return std::string(error.what());
    }
}

}  // namespace el
