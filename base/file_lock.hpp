#pragma once
// The advisory lock (flock; on Windows LockFileEx) on a user's file that a Read and a run may write back into,
// taken on the file itself so that it leaves nothing behind and holds across processes
// whatever their working folders: two tool processes given one source, even by different
// names, would otherwise both read it and both write it back, and one update would be lost.
// The second is refused with busyText().
//
// Only the front ends take it, around the work they start: the batch runner for its whole
// Read and run, the window for each Read and each run. The core (the Read step, the run)
// takes no lock and can be called from any thread. The lock is not re-entrant: a second
// FileLock on the same file in the same process is refused like another process, so a
// front end holds at most one at a time (the window's Read and run at work together
// share one hold).

#include <cstdint>
#include <filesystem>
#include <string>

namespace el {

class FileLock {
public:
    // Tries to take the lock of `file`; never waits. A file that is replaced while the lock
    // is being taken is locked as it is afterwards.
    explicit FileLock(const std::filesystem::path& file);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // False when someone else holds the lock. A file that cannot be opened (missing: the
    // Read then says so) or locked (a file system without flock) does not block: it is
    // then worked on without a lock.
    bool acquired() const { return acquired_; }

    const std::filesystem::path& file() const { return file_; }

    // The message when another holds the lock of `file`.
    static std::string busyText(const std::filesystem::path& file);

private:
    std::filesystem::path file_;
    std::intptr_t handle_ = -1;  // the descriptor, or the Windows handle, that holds the lock
    bool acquired_ = false;
};

}  // namespace el
