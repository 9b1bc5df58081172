#pragma once
// The expensive part of the risk model: the early-late region score of many species at one
// cut-off, each with that species as the target on the data masked at the cut-off, from the
// reading shared by every target of that cut-off (engine/hindcast/cutoff_forecasts.hpp), as
// the hindcast over several species makes them. Every caller goes through this one function.
// The scores do not depend on the number of threads.

#include <optional>
#include <string>
#include <vector>

#include "base/feedback.hpp"
#include "base/settings.hpp"
#include "vector/vector_data.hpp"

namespace el::engine {

struct InnerRunRequest {
    const vec::VectorData* data = nullptr;  // the data known at the as-of year
    std::vector<std::string> species;       // the species list of the run
    std::string missvalue = "null";
    std::string calculationDate;  // "MM-DD-YYYY", for the runs' own logs
    SettingValues settings;       // as given; the target, trials and outputs are replaced
    int threads = 1;              // runs going on at once
};

// One species' run at the cut-off.
struct SpeciesScore {
    bool ran = false;
    std::string error;                         // why the run stopped
    std::vector<std::optional<double>> score;  // per region number; nothing for a region the run left out
};

// Counts runs for a progress bar over several calls: `done` before this call, of `total`.
struct RunCount {
    long long done = 0;
    long long total = 0;
};

// The scores of `targets` (positions in the species list) at `cutoff`, in the order given.
// Reports ProgressStage::Hindcasts; throws Cancelled when a checkpoint stops the work, and
// the first error other than a stop that a run raised.
std::vector<SpeciesScore> innerScores(const InnerRunRequest& request, double cutoff, const std::vector<int>& targets,
                                      Feedback& feedback, RunCount count = {});

}  // namespace el::engine
