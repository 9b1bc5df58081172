#pragma once
// This test program run again as a child process, on POSIX systems and on Windows alike:
// the child finds its task in an environment variable before the tests start (see
// childTask) and its exit status is the answer.

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace el::test {

inline std::filesystem::path thisProgram() {
#ifdef _WIN32
    wchar_t name[32768];
    const DWORD length = ::GetModuleFileNameW(nullptr, name, 32768);
    return std::filesystem::path(std::wstring(name, length));
#else
    return std::filesystem::read_symlink("/proc/self/exe");
#endif
}

inline void setEnvironment(const std::string& name, const std::string& value) {
#ifdef _WIN32
    ::_putenv_s(name.c_str(), value.c_str());
#else
    ::setenv(name.c_str(), value.c_str(), 1);
#endif
}

// The task given to this process by its parent in the variable `name`, if it is a child.
inline std::optional<std::string> childTask(const char* name) {
    const char* task = std::getenv(name);
    if (task == nullptr || *task == '\0') return std::nullopt;
    return std::string(task);
}

// Runs this program with `task` in the variable `name` and no test selected, waits for it
// and returns its exit status (-1 when it could not be started or did not exit).
inline int runChild(const std::string& name, const std::string& task) {
    setEnvironment(name, task);
    int status = -1;
#ifdef _WIN32
    std::wstring command = L"\"" + thisProgram().wstring() + L"\" --gtest_filter=-*";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        ::WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0;
        if (::GetExitCodeProcess(process.hProcess, &code)) status = static_cast<int>(code);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
#else
    const std::string program = thisProgram().string();
    std::string filter = "--gtest_filter=-*";
    char* argv[] = {const_cast<char*>(program.c_str()), filter.data(), nullptr};
    pid_t pid = 0;
    if (::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) == 0) {
        int raw = 0;
        if (::waitpid(pid, &raw, 0) == pid && WIFEXITED(raw)) status = WEXITSTATUS(raw);
    }
#endif
    setEnvironment(name, "");
    return status;
}

}  // namespace el::test
