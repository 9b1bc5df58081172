#pragma once
// Passes computed side by side draw from the run's one random generator in pass order, as
// one after the other would: pass k draws only once every earlier pass has drawn or gone
// past its trials without drawing.

#include <condition_variable>
#include <mutex>
#include <set>

#include "base/cancel.hpp"

namespace el::engine {

class DrawTurns {
public:
    explicit DrawTurns(const StopToken& stop) : stop_(stop) {}

    // Returns when every pass before `pass` is done; throws WorkStopped when the work stops meanwhile.
    void await(long long pass);
    // `pass` will not draw (any more); may be said more than once.
    void done(long long pass);
    // Wakes the waiting passes after the stop token was raised.
    void wake();

private:
    const StopToken& stop_;
    std::mutex mutex_;
    std::condition_variable changed_;
    long long next_ = 0;          // the first pass not done
    std::set<long long> ahead_;   // passes done after `next_`
};

}  // namespace el::engine
