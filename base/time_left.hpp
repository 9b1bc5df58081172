#pragma once
// The time left of counted work, estimated from the samples (stage, done, total, time) a
// progress display is fed: the pace since the count (re)started, carried on to the total.
// Toolkit-free and clock-free: the caller gives the time of each sample on any clock that
// does not go back, so the batch runner's line and the window's panel estimate alike.

#include <chrono>
#include <optional>

#include "base/feedback.hpp"

namespace el {

class TimeLeftEstimate {
public:
    using Seconds = std::chrono::duration<double>;

    // Notes a sample taken at `now` and returns the time left, or nothing while no pace is
    // known (no unit done since the count started) or nothing is left (done >= total).
    // A count starts over at a new stage, at a new total and when it goes back (the trials
    // of the next pass): the pace is then measured from that sample on, whatever count it
    // starts from.
    std::optional<Seconds> update(ProgressStage stage, long long done, long long total, Seconds now);

private:
    bool started_ = false;
    ProgressStage stage_ = ProgressStage::ReadObjects;
    long long total_ = 0;
    long long lastDone_ = 0;
    long long startDone_ = 0;  // the count when it (re)started ...
    Seconds startTime_{};      // ... and the time of that sample
};

}  // namespace el
