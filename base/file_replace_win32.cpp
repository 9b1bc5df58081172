#ifdef _WIN32
// The replacer on Windows: a temporary file created under a fresh name (CREATE_NEW),
// FlushFileBuffers, and ReplaceFileW over an existing target (which keeps the target's
// attributes and security) or MoveFileExW, written through, for a new one.
#include "base/file_replace.hpp"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <system_error>

#include "base/file_replace_parts.hpp"

namespace el {
namespace fs = std::filesystem;
using replace_parts::replacedFile;
using replace_parts::temporaryPattern;
namespace {

// The system's reason, in the words the POSIX build gives for the errors a user meets.
std::string windowsReason(DWORD error) {
    switch (error) {
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return std::generic_category().message(EACCES);
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return std::generic_category().message(ENOSPC);
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return std::generic_category().message(ENOENT);
        default:
            break;
    }
    std::string text = std::system_category().message(static_cast<int>(error));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.')) text.pop_back();
    return text;
}

std::string lastReason() { return windowsReason(::GetLastError()); }

// Refuses a folder and a read-only file (the Windows form of a file the user may not write).
void checkWritable(const fs::path& target) {
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return;  // a new file
        throw FileReplaceError(windowsReason(error));
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) throw FileReplaceError("it is a folder");
    if (attributes & FILE_ATTRIBUTE_READONLY) throw FileReplaceError(windowsReason(ERROR_ACCESS_DENIED));
}

// `pattern` with its "XXXXXX" made into characters that differ from call to call.
std::string freshName(std::string pattern) {
    static std::atomic<unsigned long long> calls{0};
    constexpr const char* kChars = "abcdefghijklmnopqrstuvwxyz0123456789";
    unsigned long long seed =
        static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        (static_cast<unsigned long long>(::GetCurrentProcessId()) << 32) ^ (calls++ * 7919u);
    const std::size_t at = pattern.rfind("XXXXXX");
    for (std::size_t k = 0; k < 6; ++k) {
        pattern[at + k] = kChars[seed % 36];
        seed = seed / 36 + 0x9E3779B97F4A7C15ull * (k + 1);
    }
    return pattern;
}

// Creates a file under a free name made from `pattern`; its handle, and the name in `name`.
HANDLE createFresh(const std::string& pattern, fs::path& name) {
    for (int tries = 0; tries < 100; ++tries) {
        name = fs::path(freshName(pattern));
        const HANDLE file = ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) return file;
        if (::GetLastError() != ERROR_FILE_EXISTS) break;
    }
    throw FileReplaceError("no file can be created in its folder (" + lastReason() + ")");
}

// Puts `temporary` in the place of `target`; false, with the reason left in GetLastError,
// when the target is as it was.
bool renameOver(const fs::path& temporary, const fs::path& target) {
    if (::GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES &&
        ::ReplaceFileW(target.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        return true;
    return ::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

HANDLE handleOf(std::intptr_t file) { return reinterpret_cast<HANDLE>(file); }

}  // namespace

FileReplacement::FileReplacement(const fs::path& target, ReplaceStepHook afterStep)
    : target_(replacedFile(target)), afterStep_(std::move(afterStep)) {
    checkWritable(target_);
    file_ = reinterpret_cast<std::intptr_t>(createFresh(temporaryPattern(target_, ""), temporary_));
}

FileReplacement::~FileReplacement() {
    if (file_ != -1) ::CloseHandle(handleOf(file_));
    if (!committed_) ::DeleteFileW(temporary_.c_str());
}

void FileReplacement::write(std::string_view bytes) {
    if (file_ == -1) throw FileReplaceError("the file is already closed");
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(handleOf(file_), bytes.data() + done, chunk, &written, nullptr))
            throw FileReplaceError(lastReason());
        done += written;
    }
    step(ReplaceStep::Written);
}

void FileReplacement::commit() {
    if (file_ == -1) throw FileReplaceError("the file is already closed");
    step(ReplaceStep::PermissionsKept);  // ReplaceFileW carries the target's over
    if (!::FlushFileBuffers(handleOf(file_))) throw FileReplaceError(lastReason());
    step(ReplaceStep::Synced);
    const HANDLE file = handleOf(file_);
    file_ = -1;
    if (!::CloseHandle(file)) throw FileReplaceError(lastReason());
    step(ReplaceStep::Closed);
    if (!renameOver(temporary_, target_)) throw FileReplaceError(lastReason());
    committed_ = true;
    step(ReplaceStep::Renamed);
    step(ReplaceStep::FolderSynced);  // the rename was written through
}

NamedReplacement::NamedReplacement(const fs::path& target, const std::string& suffix) : target_(replacedFile(target)) {
    checkWritable(target_);
    ::CloseHandle(createFresh(temporaryPattern(target_, suffix), temporary_));
    ::DeleteFileW(temporary_.c_str());  // the writer makes the file itself
}

NamedReplacement::~NamedReplacement() {
    if (!committed_) ::DeleteFileW(temporary_.c_str());
}

void NamedReplacement::commit() {
    const HANDLE file = ::CreateFileW(temporary_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw FileReplaceError(lastReason());
    const bool flushed = ::FlushFileBuffers(file) != 0;
    const DWORD error = ::GetLastError();
    ::CloseHandle(file);
    if (!flushed) throw FileReplaceError(windowsReason(error));
    if (!renameOver(temporary_, target_)) throw FileReplaceError(lastReason());
    committed_ = true;
}

}  // namespace el
#endif
