#include "gis/point_batches.hpp"

namespace el::gis {

bool PointBatches::push(PointBatch batch) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return abandoned_ || batches_.size() < inFlight_; });
    if (abandoned_) return false;
    batches_.push_back(std::move(batch));
    changed_.notify_all();
    return true;
}

std::optional<PointBatch> PointBatches::pop() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return abandoned_ || finished_ || !batches_.empty(); });
    if (abandoned_ || batches_.empty()) return std::nullopt;
    PointBatch batch = std::move(batches_.front());
    batches_.pop_front();
    changed_.notify_all();
    return batch;
}

void PointBatches::finish() {
    const std::lock_guard lock(mutex_);
    finished_ = true;
    changed_.notify_all();
}

void PointBatches::abandon() {
    const std::lock_guard lock(mutex_);
    abandoned_ = true;
    changed_.notify_all();
}

}  // namespace el::gis
