#pragma once
// One power pass as a computation: from the run's fixed input and one pair of weighting
// powers to the species weights, the fluctuation trials, the early-late matrix, the regions
// used, their scores and order, and every species' fit. It writes nothing and shows no
// message: a listener hears of each stage as soon as it is done (the run driver turns the
// stage into report lines at that moment), and the caller reports, writes and stops.
//
// A pass reads only its input, the settings handed to it (see pass_settings.hpp) and what its
// caller hands it: feedback, the trial random generator and scratch space of its own, so
// passes with separate scratch share nothing that changes but the frames of region pairs
// (made once, then only read) and, when they run trials, the generator, which they take in
// pass order.
//
// With the packed codes and the frames at hand a pass builds its matrix from the codes and
// takes the outcome of the connectivity test from the frame; without them it reads the
// status matrix and tests every time, as plainly as the steps are described. Both give the
// same numbers.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/feedback.hpp"
#include "base/settings.hpp"
#include "engine/kernels/early_late_counts.hpp"
#include "engine/kernels/eigenvector.hpp"
#include "engine/kernels/packed_codes.hpp"
#include "engine/kernels/relations.hpp"
#include "engine/kernels/square_matrix.hpp"
#include "engine/kernels/status_matrix.hpp"
#include "engine/kernels/status_ranks.hpp"
#include "engine/model/run_result.hpp"
#include "engine/pass/pass_frames.hpp"
#include "engine/pass/region_score.hpp"
#include "engine/pass/species_comparisons.hpp"
#include "engine/pass/weights.hpp"
#include "engine/report/report_weights.hpp"
#include "engine/trials/draw_turns.hpp"
#include "engine/trials/trial_random.hpp"

namespace el::engine {

// Everything a run builds before its power passes; the passes only read it.
struct PassInput {
    SpeciesTable table;
    StatusMatrix status;
    // The species comparison and the automatic weights do not depend on the powers: counted
    // as the passes first ask for them, then kept (the passes only read the input otherwise).
    std::shared_ptr<SpeciesComparisons> comparison;
    std::shared_ptr<ResamplingMemo> resampling = std::make_shared<ResamplingMemo>();
    std::optional<PackedCodes> packed;     // every pair's codes, made once (the plain path reads `status`)
    std::vector<int> regionviable;         // per region number
    std::vector<std::string> regionNames;  // every region, in file order
    int targetIndex() const { return table.target.value_or(-1); }
};

// What belongs to one caller of computePass and is never shared with a pass running beside it.
struct PassScratch {
    PowerIteration power;
    std::optional<EarlyLateCounts> counts;  // made when the first trials need them
    SquareMatrix matrix;  // storage for the next pass's matrix: hand back PassOutcome::matrix when done with it
};

// What a pass has done so far; each stage fills its own fields.
struct PassOutcome {
    double p1 = 0;
    double p2 = 0;
    SpeciesWeights weights;
    std::optional<SimilarityForm> similarity;             // the similarity matrices asked for after the weights
    const SpeciesComparison* similarityCounts = nullptr;  // the whole comparison, when they were
    TrialSummary trials;                                  // per region number
    UsedRegions used;                                     // the regions finally used
    bool connected = false;                // false: the connectivity test failed and the pass ended there
    SquareMatrix matrix;                   // the filled early-late matrix, by used position
    std::vector<double> score;             // region score per used position
    PowerIterationOutcome scoreIteration;  // how the power iteration of the score ended
    std::vector<int> order;                // used positions by score, largest first
    std::vector<SpeciesOutcome> species;   // in species-table order, one more after each species
    bool matrixListing = false;            // the adjusted matrix asked for after the last species
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
    int threads = 1;               // for the work inside this pass
    PassFrames* frames = nullptr;  // with input.packed: the fast path
    DrawTurns* turns = nullptr;    // passes side by side: whose turn it is to draw
    long long pass = 0;            // this pass's number among the run's, for `turns`
};

// One power pass. Throws RunError for a settings text that is not a usable number and when
// no region is there or left; el::Cancelled passes through from any checkpoint.
PassOutcome computePass(const PassInput& input, double p1, double p2, const PassContext& context);

// One species' statuses per region number, `stride` apart (a column of the status matrix).
struct StatusColumn {
    const Status* first = nullptr;
    std::size_t stride = 1;
    const Status& at(std::size_t region) const { return first[region * stride]; }
};

// The fit of a species: training regions are the used regions (`regno`, scores by used
// position) where `shown` has a date, validation regions those where it has none but the
// target's actual status (`actual`, only with a target) has one.
SpeciesFit fitRegions(const StatusColumn& shown, const std::vector<Status>* actual, const std::vector<int>& regno,
                      const std::vector<double>& score);

// The iteration setting as a trial count (rounded half to even); RunError below 1 or too large.
int readIterations(const SettingsSource& settings);

// `values` (per region number) by used position.
std::vector<double> byPosition(const std::vector<double>& values, const std::vector<int>& regno);

}  // namespace el::engine
