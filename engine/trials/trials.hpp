#pragma once
// Fluctuation trials: resample the early-late relations of every region pair from their
// posterior on a fixed probability grid, take the principal eigenvector of each trial
// matrix, and report the mean and spread of every region's component.

#include <vector>

#include "base/feedback.hpp"
#include "engine/kernels/early_late_counts.hpp"
#include "engine/kernels/eigenvector.hpp"
#include "engine/trials/trial_random.hpp"

namespace el::engine {

// One point of the probability grid: the chances that the first region of a pair is
// reached earlier (pe) or at the same time (ps); later is pl = (1 - pe) - ps.
struct GridPoint {
    double pe;
    double ps;
};

// The 1128 grid points in their visiting order.
const std::vector<GridPoint>& probabilityGrid();

struct TrialStats {
    std::vector<double> eigenmean;  // per region number
    std::vector<double> eigensd;    // population standard deviation over the trials
    double vectorshift = 0;         // mean of eigensd over the regions
};

// Runs `trials` trials (>= 1) over all regions of `counts`, drawing n * n numbers per trial
// in the order trial, i, j. Shows "reliability trial" + strnum(t) on the run progress label
// and yields once per trial. With more than one thread the trials' matrices and eigenvectors
// are made on threads of their own (the eigenvectors' yields are then theirs), with the same
// draws in the same order and the same statistics.
TrialStats reliability(const EarlyLateCounts& counts, int trials, TrialRandom& random, PowerIteration& power,
                       Feedback& feedback, int threads = 1);

}  // namespace el::engine
