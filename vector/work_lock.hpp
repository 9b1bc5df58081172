#pragma once
// The advisory lock on ".earlylate.lock" in the working directory. The scratch files
// ("temp1.tmp", "temp3.csv", "temp4.tmp") keep their fixed names there, so a Read or a run
// holds this lock while it works and another tool process in the same folder is refused
// instead of overwriting them. Within one process the lock is re-entrant (a run that holds
// it may let the window start a Read).

#include <string>

namespace el {

class WorkFolderLock {
public:
    // Tries to take the lock of the current working directory; never waits.
    WorkFolderLock();
    ~WorkFolderLock();
    WorkFolderLock(const WorkFolderLock&) = delete;
    WorkFolderLock& operator=(const WorkFolderLock&) = delete;

    // False when another process holds the lock. A folder where no lock file can be made
    // does not block: the scratch files will fail there with their own messages.
    bool acquired() const { return acquired_; }

    static const char* busyText();

private:
    std::string folder_;
    bool acquired_ = false;
    bool counted_ = false;
};

}  // namespace el
