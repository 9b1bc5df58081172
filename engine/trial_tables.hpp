#pragma once
// What the fluctuation trials need besides the draws: the posterior table of every region
// pair and the trial-matrix entry of every grid point; and the statistics over the
// eigenvectors of all trials. Shared by the trials on one thread and on several.

#include <cstddef>
#include <vector>

#include "base/feedback.hpp"
#include "engine/cumulative_search.hpp"
#include "engine/early_late_counts.hpp"
#include "engine/trial_random.hpp"
#include "engine/trials.hpp"

namespace el::engine {

struct TrialTables {
    int regions = 0;
    CumulativeSearch search;       // one table per distinct (hayai, onaji, osoi) triple
    std::vector<int> tableOfPair;  // row-major n * n
    std::vector<double> entry;     // the trial-matrix entry of every grid point

    // The entry that draw r picks for pair p (row-major).
    double entryFor(std::size_t pair, double r) const {
        return entry[search.firstReaching(static_cast<std::size_t>(tableOfPair[pair]), r)];
    }
    // cells[p] := entryFor(p, draws[p - begin]) for p in [begin, end).
    void pick(const float* draws, double* cells, std::size_t begin, std::size_t end) const;
};

TrialTables trialTables(const EarlyLateCounts& counts);

// Mean and population SD of every region's component over the trials, and their mean SD;
// E(i, t) is components[t * regions + i].
TrialStats trialStats(const std::vector<double>& components, int regions, int trials);

// The trials with their draws made on the calling thread, in the generator's order, and
// their matrices and eigenvectors on `threads` threads of their own. The calling thread
// shows each trial's caption and yields as it draws for it, and counts the trials done.
TrialStats reliabilityOnThreads(const TrialTables& tables, int trials, TrialRandom& random, int threads,
                                Feedback& feedback);

}  // namespace el::engine
