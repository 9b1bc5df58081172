#pragma once
// One power pass as a computation: from the run's fixed input and one pair of weighting
// powers to the species weights, the fluctuation trials, the early-late matrix, the regions
// used, their scores and order, and every species' fit. It writes nothing and shows no
// message: a listener hears of each stage as soon as it is done (the run driver turns the
// stage into report lines at that moment), and the caller reports, writes and stops.
//
// A pass reads only its input, the settings (live, at the same moments as ever) and what its
// caller hands it: feedback, the trial random generator and scratch space of its own, so
// passes with separate scratch share nothing that changes.

#include <optional>
#include <string>
#include <vector>

#include "base/feedback.hpp"
#include "base/settings.hpp"
#include "engine/early_late_counts.hpp"
#include "engine/eigenvector.hpp"
#include "engine/region_score.hpp"
#include "engine/relations.hpp"
#include "engine/report_weights.hpp"
#include "engine/run_result.hpp"
#include "engine/square_matrix.hpp"
#include "engine/status_ranks.hpp"
#include "engine/status_matrix.hpp"
#include "engine/trial_random.hpp"
#include "engine/weights.hpp"

namespace el::engine {

// Everything a run builds before its power passes; the passes only read it.
struct PassInput {
    SpeciesTable table;
    StatusMatrix status;
    SpeciesComparison comparison;        // does not depend on the powers
    std::optional<PairCodes> pairCodes;  // examine-weight runs: every pair's codes, made once
    std::vector<int> regionviable;       // per region number
    std::vector<std::string> regionNames;  // every region, in file order
    int targetIndex() const { return table.target.value_or(-1); }
};

// What belongs to one caller of computePass and is never shared with a pass running beside it.
struct PassScratch {
    PowerIteration power;
    std::optional<EarlyLateCounts> counts;  // made when the first trials need them
};

// What a pass has done so far; each stage fills its own fields.
struct PassOutcome {
    double p1 = 0;
    double p2 = 0;
    SpeciesWeights weights;
    std::optional<SimilarityForm> similarity;  // the similarity matrices asked for after the weights
    TrialSummary trials;                       // per region number
    UsedRegions used;                          // the regions finally used
    bool connected = false;  // false: the connectivity test failed and the pass ended there
    SquareMatrix matrix;     // the filled early-late matrix, by used position
    std::vector<double> score;  // region score per used position
    std::vector<int> order;     // used positions by score, largest first
    std::vector<SpeciesOutcome> species;  // in species-table order, one more after each species
    bool matrixListing = false;  // the adjusted matrix asked for after the last species
};

enum class PassStage {
    Started,        // the powers are set
    Weighted,       // weights (and the similarity choice) are there
    Excluded,       // the exclusion ran (only when it is switched on)
    Scored,         // the regions are connected and scored
    SpeciesFitted,  // the last entry of `species` is new
    Finished,       // every species is fitted
};

class PassListener {
public:
    virtual ~PassListener() = default;
    virtual void stageDone(PassStage /*stage*/, const PassOutcome& /*outcome*/) {}
};

struct PassContext {
    const SettingsSource& settings;
    Feedback& feedback;
    TrialRandom& random;  // drawn only when the trials run
    PassScratch& scratch;
    PassListener& listener;
};

// One power pass. Throws RunError for a settings text that is not a usable number and when
// no region is there or left; el::Cancelled passes through from any checkpoint.
PassOutcome computePass(const PassInput& input, double p1, double p2, const PassContext& context);

// The iteration setting as a trial count (rounded half to even); RunError below 1 or too large.
int readIterations(const SettingsSource& settings);

// `values` (per region number) by used position.
std::vector<double> byPosition(const std::vector<double>& values, const std::vector<int>& regno);

}  // namespace el::engine
