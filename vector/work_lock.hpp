#pragma once
// The advisory lock (flock) on the working directory itself, so it leaves no file behind. It guards the
// outputs a Read or a run may write there or beside the source: the weight-test file, the
// side log of a failed scan and the written-back source. Two tool processes working in
// one folder would overwrite them, so the second is refused with busyText().
//
// Only the front ends take it, around the work they start: the batch runner for its whole
// Read and run, the window for each Read and each run. The core (the Read step on bytes
// or files, the run) takes no lock and can be called from any thread. The lock is not
// re-entrant: a second WorkFolderLock in the same process is refused like another
// process, so a front end holds at most one at a time (the window's Read and run at work
// together share one hold).

#include <string>

namespace el::vec {

class WorkFolderLock {
public:
    // Tries to take the lock of the current working directory; never waits.
    WorkFolderLock();
    ~WorkFolderLock();
    WorkFolderLock(const WorkFolderLock&) = delete;
    WorkFolderLock& operator=(const WorkFolderLock&) = delete;

    // False when someone else holds the lock. A folder that cannot be locked (a file
    // system without flock) does not block: it is then worked in without a lock.
    bool acquired() const { return acquired_; }

    static const char* busyText();

private:
    int fd_ = -1;
    bool acquired_ = false;
};

}  // namespace el::vec
