#pragma once
// The power passes of an examine-weight run on worker threads. Once the pair codes are made
// the passes are independent: workers take them in grid order, each with scratch of its
// own, and record what a pass reports instead of showing it. The calling thread takes the
// records back in grid order and does with each what the one-thread loop does after a pass,
// so the log, the weight-test file, the messages and the result are the same for any number
// of threads.
//
// Workers never call the caller's feedback: their yield points look at a stop token that
// the calling thread raises when the run ends early (Cancel, a pass that stops the run), and
// their captions are shown, if at all, only while the calling thread waits for a pass.

#include <exception>
#include <functional>
#include <vector>

#include "base/feedback.hpp"
#include "base/settings.hpp"
#include "engine/pass/pass_frames.hpp"
#include "engine/pass/pass_report.hpp"
#include "engine/pass/pass_settings.hpp"
#include "engine/pass/power_pass.hpp"
#include "engine/trials/trial_random.hpp"

namespace el::engine {

struct PowerPair {
    double p1 = 0;
    double p2 = 0;
};

// What a worker leaves of one pass.
struct PassRecord {
    PassOutcome outcome;                    // without its matrix, whose lines are already in `report`
    std::vector<PassReport::Piece> report;  // what the pass reported, in stage order
    std::exception_ptr error;               // what the pass threw after its report, if it did
};

// What every pass of the run shares.
struct PassWork {
    const PassInput& input;
    PassSettings& settings;          // handed out on the calling thread, after each pass it takes back
    TrialRandom& random;             // drawn, should a pass run trials, in pass order
    PassFrames& frames;
};

// Computes the passes `powers` on `threads` workers and hands each record to take(k, record)
// on the calling thread, k = 0, 1, ... in order; after take(k) returns, the settings of a
// further pass are handed out. While it waits for a pass it shows the
// latest run progress caption of the workers and yields at least every 100 ms. When take()
// or a yield throws, the workers stop and are joined before the exception goes on.
void runPassesOnThreads(const PassWork& work, const std::vector<PowerPair>& powers, int threads, Feedback& feedback,
                        const std::function<void(long long, PassRecord&)>& take);

}  // namespace el::engine
