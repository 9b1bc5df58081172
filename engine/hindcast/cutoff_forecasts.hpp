#pragma once
// Forecasts of many targets from one data set masked at one cut-off year. What does not
// depend on the target is made once: the status matrix of the masked data, the codes of
// every species and of every region pair, and each region's count of relations. Each target
// then needs only its own: the split of its column, its weights (its column of the species
// comparison), the early-late matrix, the region score and its fit. The numbers are those
// of a report-mode run of the masked data with that target as "G  O" makes it, the
// fluctuation trials left out (they never change a predicted date) and nothing written.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/feedback.hpp"
#include "base/messenger.hpp"
#include "base/settings.hpp"
#include "engine/kernels/packed_codes.hpp"
#include "engine/kernels/status_matrix.hpp"
#include "engine/kernels/status_ranks.hpp"
#include "engine/model/prediction.hpp"
#include "vector/vector_data.hpp"

namespace el::engine {

struct TargetForecast {
    bool completed = false;
    std::string error;              // the message of a run that stopped
    std::vector<int> regno;         // the regions finally used, by used position
    SpeciesFit fit;                 // of the target
    std::vector<double> predicted;  // the target's date by used position, when predictable
    std::vector<double> score;      // the region score by used position
};

class CutoffForecasts {
public:
    // Reads the data once, every date after `year` of a species analysed read as
    // "NotYetArrived" (no year: as they are), and packs the codes on `threads` threads.
    // Throws RunError as a run stops on its input (a value that is neither a keyword nor a
    // number, a species that is no variable); the messages a run shows on the way (missing
    // values) go to `messenger`; Cancelled from `feedback`'s checkpoints.
    CutoffForecasts(const vec::VectorData& data, const std::vector<std::string>& species, const std::string& missvalue,
                    std::optional<double> year, int threads, Messenger& messenger, Feedback& feedback);

    // The species a run takes as the target when the target text is `name` (the last
    // species of that name), or nothing.
    std::optional<int> targetNamed(const std::string& name) const;
    const std::vector<std::string>& speciesNames() const { return table_.name; }

    // The forecast with species `target` as the target and the settings a run reads (the
    // training share, the powers, the exclusion, the filling); computed on the calling
    // thread, so several targets may go on at once, each on a thread of its own.
    TargetForecast forecast(int target, SettingValues settings, Feedback& feedback) const;

private:
    void score(int target, const SettingValues& settings, Feedback& feedback, TargetForecast& out) const;

    SpeciesTable table_;
    StatusMatrix status_;  // of the masked data, without texts and without a split
    std::shared_ptr<const SpeciesCodes> codes_;
    std::shared_ptr<const PackedCodes> packed_;
    std::vector<int> viableAll_;  // regionviable over every species
    std::vector<std::string> regionNames_;
};

}  // namespace el::engine
