#pragma once
// What long work tells whoever watches it: captions, counted progress, and the points at
// which it may be stopped. Every member has a quiet default, so a caller that watches
// nothing passes a plain Feedback.

#include <string>

namespace el {

// The three one-line texts that the core overwrites to show progress.
enum class Label {
    ReadProgress,  // progress of the Read step
    RunProgress,   // progress of the run
    Status,        // the current item of the run
};

// The countable stages whose progress a watcher may show as a bar.
enum class ProgressStage {
    ReadObjects,  // objects read of objn
    Trials,       // fluctuation trials done of the trial count
    Passes,       // power passes done of the passes of the run
    Hindcasts,    // hindcast years done of the years asked for
};

// Thrown by checkpoint() when the user asked to stop. It does not derive from
// std::exception on purpose: no "report and go on" handler may swallow it; the run catches
// it at its top, after RAII has removed every half-written file.
struct Cancelled {};

class Feedback {
public:
    virtual ~Feedback() = default;

    // A point at which the work may stop (throw Cancelled) and captions may be shown.
    // Called very often (once per object, per trial, ...): keep it cheap.
    virtual void checkpoint() {}

    virtual void caption(Label /*label*/, const std::string& /*text*/) {}

    // `done` of `total` units of `stage`.
    virtual void progress(ProgressStage /*stage*/, long long /*done*/, long long /*total*/) {}
};

}  // namespace el
