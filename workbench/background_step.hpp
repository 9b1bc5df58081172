#pragma once
// Runs one Read or run at a time on a worker thread of its own and shows, on the window's
// thread, what the work hands over: the window looks every few milliseconds, so its event
// loop stays free while the work computes. The work's hooks answer a stop request at the
// next checkpoint.

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "engine/run/settings_copy.hpp"
#include "workbench/work_channel.hpp"
#include "workbench/worker_hooks.hpp"

namespace el::workbench {

// How the window shows a step's news; all three are called on the window's thread.
struct StepDisplay {
    std::function<void(const WorkNews&)> show;
    std::function<bool()> canAsk;                      // no other message is open
    std::function<void(const std::string&)> message;  // returns once the user pressed OK
};

class BackgroundStep : public QObject {
    Q_OBJECT
public:
    BackgroundStep(engine::SettingsCopy& settings, StepDisplay display, QObject* parent = nullptr);
    ~BackgroundStep() override;

    using Work = std::function<void(WorkerHooks&)>;
    // Starts `work` on a new thread; `done` runs on this thread after the work has ended
    // and everything it handed over has been shown. Nothing happens while a work is active.
    void start(Work work, std::function<void()> done);
    bool active() const { return channel_ != nullptr; }
    // The work stops at its next checkpoint.
    void requestStop();
    // Shows at once what the work has handed over so far.
    void showNews();
    // Stops the work and waits for its thread; `done` is not called.
    void stop();

    static constexpr int kLookIntervalMs = 20;

private:
    void look();
    void end();

    engine::SettingsCopy& settings_;
    StepDisplay display_;
    QTimer timer_;
    std::shared_ptr<WorkChannel> channel_;
    std::thread thread_;
    std::function<void()> done_;
    bool looking_ = false;  // inside look(), perhaps in a message box
};

}  // namespace el::workbench
