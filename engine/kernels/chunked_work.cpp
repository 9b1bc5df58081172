#include "engine/kernels/chunked_work.hpp"

#include <algorithm>
#include <atomic>

#include "base/cancel.hpp"
#include "base/work_pool.hpp"

namespace el::engine {

void forChunks(int threads, std::size_t count, std::size_t chunk, Feedback& feedback,
               const std::function<void(std::size_t, std::size_t)>& work) {
    chunk = std::max<std::size_t>(chunk, 1);
    const std::size_t chunks = (count + chunk - 1) / chunk;
    if (chunks == 0) return;
    const auto pieces = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(std::max(threads, 1)), chunks));
    std::atomic<std::size_t> next{0};
    StopToken stop;
    onThreads(pieces, [&](int t) {
        try {
            for (std::size_t c = next++; c < chunks; c = next++) {
                if (t == 0) feedback.checkpoint();
                stop.check();
                work(c * chunk, std::min(count, (c + 1) * chunk));
            }
        } catch (const WorkStopped&) {
            // Another thread failed: its error, not this stop, is what the caller sees.
        } catch (...) {
            stop.raise();
            throw;
        }
    });
}

}  // namespace el::engine
