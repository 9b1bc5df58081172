#include "base/time_left.hpp"

namespace el {

std::optional<TimeLeftEstimate::Seconds> TimeLeftEstimate::update(ProgressStage stage, long long done, long long total,
                                                                  Seconds now) {
    if (!started_ || stage != stage_ || total != total_ || done < lastDone_) {
        started_ = true;
        stage_ = stage;
        total_ = total;
        startDone_ = done;
        startTime_ = now;
    }
    lastDone_ = done;
    if (done <= startDone_ || done >= total) return std::nullopt;
    const double unitsLeft = static_cast<double>(total - done) / static_cast<double>(done - startDone_);
    return (now - startTime_) * unitsLeft;
}

}  // namespace el
