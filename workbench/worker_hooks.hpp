#pragma once
// Whom a Read or a run talks to on its worker thread: settings come from the live copy the
// window keeps, everything for the window is collected and handed over at the work's
// checkpoints, a message waits for the user's OK, and a stop request ends the work at its
// next checkpoint.

#include <string>

#include "base/feedback.hpp"
#include "base/log_sink.hpp"
#include "base/messenger.hpp"
#include "base/settings.hpp"
#include "engine/run/settings_copy.hpp"
#include "workbench/work_channel.hpp"

namespace el::workbench {

class WorkerHooks final : public SettingsSource, public LogSink, public Messenger, public Feedback {
public:
    WorkerHooks(WorkChannel& channel, engine::SettingsCopy& settings) : channel_(channel), settings_(settings) {}

    // The value the control has now.
    std::string setting(Setting id) const override { return settings_.setting(id); }
    // Takes effect for the work at once; the control follows.
    void setSetting(Setting id, const std::string& value) override;

    void appendLog(const std::string& line) override { pending_.log.push_back({false, line}); }
    void clearLog() override;

    // Shows what was collected, then waits until the user has acknowledged the message.
    void message(const std::string& text) override;

    void checkpoint() override;
    void caption(Label label, const std::string& text) override;
    void progress(ProgressStage stage, long long done, long long total) override;
    // The window's own: a run tells when it starts and ends, so the run button can be
    // disabled and captioned "Running" meanwhile; shown at once.
    void runBusy(bool busy);

    // Hands everything collected to the window.
    void flush();

private:
    WorkChannel& channel_;
    engine::SettingsCopy& settings_;
    WorkNews pending_;
};

}  // namespace el::workbench
