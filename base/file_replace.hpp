#pragma once
// Durable replacement of a whole file: the new contents go to a temporary file made beside
// the target (mkstemp; on Windows a fresh name created exclusively), are synced to the disk
// and renamed over the target (rename; ReplaceFileW, or MoveFileExW for a new file), and the
// folder is synced so that the rename itself survives a crash (on Windows the rename is
// written through). Until the rename the target is as
// it was; a replacement dropped before it (a failure, a stop) removes its temporary file.
// Every file the tool writes for its user (logs, tables, figures, reports, the weight-test
// file, the written-back source) is written this way.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace el {

// The steps of a replacement, in order. Until Renamed the target is as it was; from
// Renamed on it is the new file.
enum class ReplaceStep {
    Written,          // bytes were added to the temporary file
    PermissionsKept,  // it has the target's permissions (or a new file's)
    Synced,           // it is on the disk
    Closed,
    Renamed,       // it has replaced the target
    FolderSynced,  // the rename is on the disk
};

// Called after each step; whatever it throws fails the replacement as a file error does,
// so tests can stop it after any step or make a write fail as a full disk would.
using ReplaceStepHook = std::function<void(ReplaceStep)>;

struct FileReplaceError : std::runtime_error {
    using std::runtime_error::runtime_error;  // what(): the reason, as the system gave it
};

class FileReplacement {
public:
    // Makes the temporary file beside `target` (beside the file a symbolic link points to,
    // so the link survives). Throws FileReplaceError when it cannot be made.
    explicit FileReplacement(const std::filesystem::path& target, ReplaceStepHook afterStep = {});
    // Removes the temporary file unless commit() succeeded.
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Appends to the new contents; throws FileReplaceError.
    void write(std::string_view bytes);
    // Gives it the target's permissions, syncs it and renames it over the target; throws
    // FileReplaceError, and the target is then as it was unless the rename happened.
    void commit();

    const std::filesystem::path& target() const { return target_; }
    const std::filesystem::path& temporary() const { return temporary_; }

private:
    void step(ReplaceStep done) const;

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    ReplaceStepHook afterStep_;
    std::intptr_t file_ = -1;  // the descriptor, or the Windows handle, of the temporary file
    unsigned mode_ = 0644;     // the permissions it takes (POSIX systems)
    bool committed_ = false;
};

// The same for a file that another writer (a library that writes only by file name) makes
// at the temporary name: it is put in place by commit() as FileReplacement puts its own.
class NamedReplacement {
public:
    // Reserves a free name beside `target` that ends in `suffix` (an extension the writer
    // goes by); no file is there when the constructor returns. Throws FileReplaceError.
    NamedReplacement(const std::filesystem::path& target, const std::string& suffix);
    // Removes the file at the temporary name unless commit() succeeded.
    ~NamedReplacement();
    NamedReplacement(const NamedReplacement&) = delete;
    NamedReplacement& operator=(const NamedReplacement&) = delete;

    void commit();

    const std::filesystem::path& temporary() const { return temporary_; }

private:
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    unsigned mode_ = 0644;
    bool committed_ = false;
};

// Replaces `target` with `bytes` at once. Nothing on success, else the reason.
std::optional<std::string> replaceFile(const std::filesystem::path& target, std::string_view bytes,
                                       const ReplaceStepHook& afterStep = {});

}  // namespace el
