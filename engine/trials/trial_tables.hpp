#pragma once
// What the fluctuation trials need besides the draws: the posterior table of every region
// pair and the trial-matrix entry of every grid point; and the statistics over the
// eigenvectors of all trials. Shared by the trials on one thread and on several.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/feedback.hpp"
#include "engine/kernels/cumulative_search.hpp"
#include "engine/kernels/early_late_counts.hpp"
#include "engine/trials/trial_random.hpp"
#include "engine/trials/trials.hpp"

namespace el::engine {

struct TrialTables {
    int regions = 0;
    CumulativeSearch search;    // one table per distinct (hayai, onaji, osoi) triple
    std::vector<double> entry;  // the trial-matrix entry of every grid point

    // The pairs (row-major) in blocks of whole rows, small enough for a block's draws and
    // cells to stay in cache; within a block the pairs of one table come one after the
    // other, so each table is fetched once per block.
    struct Run {
        std::uint32_t table;
        std::uint32_t pairs;
    };
    std::size_t blockPairs = 0;         // pairs per block (the last may hold fewer)
    std::vector<std::uint32_t> order;   // per block, its pairs' places within it, table by table
    std::vector<Run> runs;              // per block, its tables in that order
    std::vector<std::size_t> firstRun;  // per block, where its runs start; one more at the end

    std::size_t pairs() const { return order.size(); }
    std::size_t blocks() const { return firstRun.size() - 1; }
    // cells[q] := the entry that draws[q] picks for pair blockPairs * b + q, for the pairs of block b.
    void pickBlock(std::size_t b, const float* draws, double* cells) const;
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
