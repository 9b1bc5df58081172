#ifdef _WIN32
// The lock on Windows: LockFileEx on a handle of the file. Windows locks are mandatory for
// the bytes they cover, so the lock covers one byte far beyond any file's end: it keeps
// other tool processes out and leaves the file readable, also by this process. The handle
// shares reading, writing and deleting, so the replacer may still put a new file in its place.
#include "base/file_lock.hpp"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace el {
namespace {

enum class Attempt { Locked, Busy, Replaced, Unlockable };

constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;  // far beyond the end of any file

HANDLE openShared(const std::filesystem::path& file, DWORD access) {
    return ::CreateFileW(file.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// True when both handles are of one file (the same volume and file index).
bool sameFile(HANDLE a, HANDLE b) {
    BY_HANDLE_FILE_INFORMATION one{}, two{};
    if (!::GetFileInformationByHandle(a, &one) || !::GetFileInformationByHandle(b, &two)) return false;
    return one.dwVolumeSerialNumber == two.dwVolumeSerialNumber && one.nFileIndexHigh == two.nFileIndexHigh &&
           one.nFileIndexLow == two.nFileIndexLow;
}

// One attempt on the file as the name gives it now; Replaced when a replacement renamed
// over the name between the open and the lock (the caller tries again on the new file).
Attempt tryLock(const std::filesystem::path& file, HANDLE& handle) {
    handle = openShared(file, GENERIC_READ);
    if (handle == INVALID_HANDLE_VALUE) return Attempt::Unlockable;
    OVERLAPPED at{};
    at.OffsetHigh = kLockOffsetHigh;
    if (!::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at))
        return ::GetLastError() == ERROR_LOCK_VIOLATION ? Attempt::Busy : Attempt::Unlockable;
    const HANDLE named = openShared(file, 0);
    if (named == INVALID_HANDLE_VALUE) return Attempt::Unlockable;
    const bool same = sameFile(handle, named);
    ::CloseHandle(named);
    return same ? Attempt::Locked : Attempt::Replaced;
}

}  // namespace

FileLock::FileLock(const std::filesystem::path& file) : file_(file) {
    for (int tries = 0; tries < 16; ++tries) {
        HANDLE handle = INVALID_HANDLE_VALUE;
        const Attempt attempt = tryLock(file, handle);
        if (attempt == Attempt::Locked) {
            handle_ = reinterpret_cast<std::intptr_t>(handle);
            acquired_ = true;
            return;
        }
        if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);  // closing gives its lock back
        if (attempt == Attempt::Busy) return;
        if (attempt == Attempt::Unlockable) break;
    }
    // Only another holder refuses; a file that cannot be locked is worked on as it is.
    acquired_ = true;
}

FileLock::~FileLock() {
    if (handle_ == -1) return;
    const HANDLE handle = reinterpret_cast<HANDLE>(handle_);
    OVERLAPPED at{};
    at.OffsetHigh = kLockOffsetHigh;
    ::UnlockFileEx(handle, 0, 1, 0, &at);
    ::CloseHandle(handle);
}

}  // namespace el
#endif
