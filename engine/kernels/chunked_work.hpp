#pragma once
// Long work cut into numbered chunks that threads take in turn. Each chunk writes only
// outputs of its own, so no number depends on the threads or on who took which chunk. The
// calling thread answers the caller's checkpoint between its chunks; once it stops, the
// other threads stop at their next chunk.

#include <cstddef>
#include <functional>

#include "base/feedback.hpp"

namespace el::engine {

// Calls work(begin, end) for [0, count) cut into chunks of `chunk` (the last one shorter), on
// up to `threads` threads. Cancelled from the caller's checkpoint, or the first error of a
// chunk, goes on once every thread has ended.
void forChunks(int threads, std::size_t count, std::size_t chunk, Feedback& feedback,
               const std::function<void(std::size_t, std::size_t)>& work);

}  // namespace el::engine
