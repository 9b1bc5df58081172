#pragma once
// The batch runner as a child process the test can signal: started in a folder with the
// fixed calculation date, standard output discarded, standard error to a file there, to a
// given descriptor or to a pseudo-terminal the test reads (where the runner shows its
// progress, so the test can wait for a stage to begin); and a vector file of many point
// regions with random dates.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace el::test {

inline pid_t startBatch(const std::filesystem::path& dir, std::vector<std::string> args, int stderrFd = -1) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::chdir(dir.c_str()) != 0) ::_exit(127);
        const int err = stderrFd >= 0 ? stderrFd : ::open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int null = ::open("/dev/null", O_WRONLY);
        if (err < 0 || null < 0 || ::dup2(err, 2) < 0 || ::dup2(null, 1) < 0) ::_exit(127);
        ::setenv("SOURCE_DATE_EPOCH", "1796428800", 1);
        const std::string program = std::string(EARLYLATE_BIN_DIR) + "/earlylate-batch";
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    return pid;
}

inline bool stillRunning(pid_t pid) {
    int status = 0;
    return ::waitpid(pid, &status, WNOHANG) == 0;
}

// The exit status, or 1000 plus the signal that ended the process.
inline int exitStatusAfter(pid_t pid) {
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
}

// The batch runner with standard error on a new pseudo-terminal. What the terminal receives
// is kept, with the terminal's own CR before each LF taken out.
class BatchOnTerminal {
public:
    BatchOnTerminal(const std::filesystem::path& dir, std::vector<std::string> args) {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
            throw std::runtime_error("no pseudo-terminal");
        const int slave = ::open(::ptsname(master_), O_RDWR | O_NOCTTY);
        if (slave < 0) throw std::runtime_error("no pseudo-terminal");
        pid_ = startBatch(dir, std::move(args), slave);
        ::close(slave);  // so that reading ends once the child has gone
    }
    ~BatchOnTerminal() {
        if (pid_ > 0 && stillRunning(pid_)) {
            ::kill(pid_, SIGKILL);
            exitStatusAfter(pid_);
        }
        ::close(master_);
    }
    BatchOnTerminal(const BatchOnTerminal&) = delete;
    BatchOnTerminal& operator=(const BatchOnTerminal&) = delete;

    pid_t pid() const { return pid_; }
    // Reads until `text` has been received (true) or the child has closed the terminal.
    bool waitFor(const std::string& text) {
        while (received_.find(text) == std::string::npos)
            if (!readSome()) return false;
        return true;
    }
    // Reads all the child writes, then waits for it: its exit status as exitStatusAfter.
    int exitStatus() {
        while (readSome()) {
        }
        const int status = exitStatusAfter(pid_);
        pid_ = -1;
        return status;
    }
    const std::string& received() const { return received_; }

private:
    bool readSome() {
        char buffer[4096];
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0) return false;
        received_.append(buffer, static_cast<std::size_t>(n));
        for (std::size_t at; (at = received_.find("\r\n")) != std::string::npos;) received_.erase(at, 1);
        return true;
    }

    int master_ = -1;
    pid_t pid_ = -1;
    std::string received_;
};

// Point regions R0, R1, ... with three species dated at random, `perRow` points to a row.
inline std::string randomRegions(int regions, int perRow, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> year(1950, 2010);
    std::string file = "vector,regions\r\nsp1,sp2,sp3,type$,name$,n,x,y\r\n";
    for (int i = 0; i < regions; ++i)
        file += std::to_string(year(random)) + "," + std::to_string(year(random)) + "," + std::to_string(year(random)) +
                ",point,R" + std::to_string(i) + ",1," + std::to_string(i % perRow) + "," + std::to_string(i / perRow) + "\r\n";
    return file;
}

}  // namespace el::test
