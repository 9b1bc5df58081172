#pragma once
// The batch runner's progress on a terminal: one line on standard error, rewritten in
// place with "\r", at most a few times a second, and wiped when the run ends.

#include <chrono>
#include <optional>
#include <ostream>
#include <string>

#include "base/feedback.hpp"
#include "base/time_left.hpp"

namespace el::batch {

using Seconds = std::chrono::duration<double>;

// "Trials 30 of 100 (30%), 0:05 elapsed, about 0:11 left"; without an estimate of the time
// left (TimeLeftEstimate), no "left".
std::string progressText(ProgressStage stage, long long done, long long total, Seconds elapsed,
                         std::optional<Seconds> left);

// "m:ss", or "h:mm:ss" from an hour on.
std::string clockText(Seconds time);

class ProgressLine {
public:
    using Clock = std::chrono::steady_clock;

    explicit ProgressLine(std::ostream& out, std::chrono::milliseconds interval = std::chrono::milliseconds(250));

    // Notes the count and redraws the line when the interval has passed.
    void update(ProgressStage stage, long long done, long long total);
    // Wipes the line, e.g. before a message or at the end.
    void clear();

private:
    std::ostream& out_;
    std::chrono::milliseconds interval_;
    Clock::time_point start_;
    Clock::time_point lastDraw_{};
    TimeLeftEstimate estimate_;
    bool drawNow_ = true;    // the next update draws whatever the interval
    int stage_ = -1;
    std::size_t shown_ = 0;  // length of the line on screen, 0 when none
};

}  // namespace el::batch
