#pragma once
// The one interface through which the toolkit-free core talks to whoever runs it:
// the window, the batch runner, or a test.

#include <string>

#include "base/settings.hpp"

namespace el {

// The three one-line texts that the core overwrites to show progress.
enum class Label {
    ReadProgress,  // progress of the Read step
    RunProgress,   // progress of the run
    Status,        // the current item of the run
};

// The countable stages whose progress a host may show as a bar.
enum class ProgressStage {
    ReadObjects,  // objects read of objn
    Trials,       // fluctuation trials done of the trial count
    Passes,       // power passes done of the passes of the run
};

// Thrown by a host's yield() when the user asked to stop the run. It does not derive from
// std::exception on purpose: no "report and go on" handler may swallow it; the run catches
// it at its top, after RAII has removed every half-written file.
struct Cancelled {};

class Host {
public:
    virtual ~Host() = default;

    // A message for the user that must be acknowledged before work goes on.
    virtual void message(const std::string& text) = 0;

    // Lets the host repaint and handle input. Called very often (once per object,
    // per trial, ...): implementations must keep it cheap, e.g. with YieldThrottle.
    virtual void yield() = 0;

    virtual void setCaption(Label label, const std::string& text) = 0;

    virtual void appendLog(const std::string& line) = 0;
    virtual void clearLog() = 0;

    // Settings are read live: the core asks at the moment it needs a value, so a
    // change made during a yield takes effect from then on.
    virtual std::string setting(Setting id) const = 0;
    virtual void setSetting(Setting id, const std::string& value) = 0;

    // The run tells the host when it starts and ends, so the run button can be
    // disabled and captioned "Running" meanwhile.
    virtual void setRunBusy(bool busy) = 0;

    // Structured progress beside the captions: `done` of `total` units of `stage`.
    virtual void progress(ProgressStage /*stage*/, long long /*done*/, long long /*total*/) {}
};

// True when a check-box setting holds "on".
bool isOn(const Host& host, Setting id);

}  // namespace el
