#pragma once
// What a Read or a run on a worker thread has to tell the window, and the window's answers.
// The work collects its news (log lines, captions, progress, the run button's state,
// settings it changed) and hands them over at its checkpoints; the window takes them on
// its own thread. A message waits on the worker until the window has shown it and the user
// pressed OK. A stop request makes the work's next checkpoint throw el::Cancelled.

#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/cancel.hpp"
#include "base/feedback.hpp"
#include "base/settings.hpp"

namespace el::workbench {

inline constexpr std::size_t kLabelCount = 3;  // the labels of el::Label

struct LogEntry {
    bool clear = false;  // the log was cleared; else `line` was appended
    std::string line;
};

struct ProgressNews {
    ProgressStage stage = ProgressStage::ReadObjects;
    long long done = 0;
    long long total = 0;
};

// News since the window last looked: the log in order, the latest of everything else.
struct WorkNews {
    std::vector<LogEntry> log;
    std::array<std::optional<std::string>, kLabelCount> captions;
    std::optional<ProgressNews> progress;
    std::optional<bool> busy;                               // the run button: busy or idle
    std::vector<std::pair<Setting, std::string>> settings;  // values the work set, in order

    bool empty() const;
    // Adds news that came after these.
    void add(WorkNews&& later);
};

class WorkChannel {
public:
    // The work's side.
    void publish(WorkNews&& news);
    // Waits until the window has shown `text` and the user acknowledged it (or the window went).
    void ask(const std::string& text);
    // The work has ended: nothing follows.
    void finish();
    bool stopRequested() const { return stop_.raised(); }
    // True once the window has looked since the work last published.
    bool newsWanted() const { return wanted_.load(std::memory_order_relaxed); }

    // The window's side.
    struct Taken {
        WorkNews news;
        std::optional<std::string> question;  // to show, then acknowledge()
        bool finished = false;                // the work has ended and everything is taken
    };
    // `withQuestion`: the window can show a message now.
    Taken take(bool withQuestion);
    void acknowledge();
    void requestStop();
    // The window goes: stop the work and release it from any wait.
    void abandon();

private:
    mutable std::mutex mutex_;
    std::condition_variable answered_;
    WorkNews news_;
    std::optional<std::string> question_;
    bool questionTaken_ = false;
    bool finished_ = false;
    bool abandoned_ = false;
    StopToken stop_;
    std::atomic<bool> wanted_{true};
};

}  // namespace el::workbench
