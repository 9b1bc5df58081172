#pragma once
// Points handed on in batches, in the order they were read, from the thread that reads a
// download to the one that places its points: a few batches in flight at most, so that
// memory does not grow with the file when one side is faster. Either side may give up
// (an error, a stop): the other then stops waiting.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

#include "gis/occurrence_points.hpp"

namespace el::gis {

using PointBatch = std::vector<OccurrencePoint>;

class PointBatches {
public:
    explicit PointBatches(std::size_t inFlight = 4) : inFlight_(inFlight) {}

    // Waits while the batches in flight are as many as allowed; false once abandoned.
    bool push(PointBatch batch);
    // The next batch in order; empty once finished and every batch taken, or abandoned.
    std::optional<PointBatch> pop();
    // No batch follows.
    void finish();
    // The side that calls it gives up: the other's waits end.
    void abandon();

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<PointBatch> batches_;
    std::size_t inFlight_;
    bool finished_ = false, abandoned_ = false;
};

}  // namespace el::gis
