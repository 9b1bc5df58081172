#pragma once
// Hindcasts: "had I run this at the end of year Y, would it have named the regions invaded
// since?" For each cut-off year the data are masked (every date after Y of every species
// analysed reads "NotYetArrived"), a run is made on them exactly as "G  O" makes it, and its
// forecast of the target is scored against what the file records after Y, beside the
// simplest rival: the distance to the nearest region the target had reached by Y.
//
// Every masked run has an engine of its own, so its random generator starts as at start-up
// and the caller's is not advanced. It runs in report mode with the write-back off, whatever
// the settings say, so it writes no file; its log and its messages are kept, not shown.

#include <optional>
#include <string>
#include <vector>

#include "base/feedback.hpp"
#include "base/settings.hpp"
#include "engine/hindcast/region_distance.hpp"
#include "engine/model/run_result.hpp"
#include "vector/vector_data.hpp"

namespace el::engine {

struct HindcastRequest {
    const vec::VectorData* data = nullptr;  // the data set of the normal run, unmasked
    std::vector<std::string> species;   // the species list of the normal run; the target among them
    std::string missvalue = "null";
    std::string calculationDate;        // "MM-DD-YYYY", for the masked runs' own logs
    SettingValues settings;             // as given to the normal run
};

// A copy of `data` in which every value of a variable named in `species` that is a date
// later than `year` reads "NotYetArrived".
vec::VectorData maskLaterDates(const vec::VectorData& data, const std::vector<std::string>& species, double year);

// A run on the data masked at `year`, its log and the messages it would have shown.
struct MaskedRun {
    RunResult result;
    std::vector<std::string> log;
    std::vector<std::string> messages;
};
MaskedRun runMasked(const HindcastRequest& request, double year, Feedback& feedback);

enum class HindcastClass {
    ReachedLater,  // the file records a date of the target after the cut-off
    NotReached,    // the file records "NotYetArrived" (or "未分布")
};

// A region the hindcast scores: used by the masked run and of one of the two classes.
struct HindcastRegion {
    int region = 0;  // region number (0-based, file order)
    HindcastClass kind = HindcastClass::NotReached;
    std::optional<double> predicted;  // the masked run's date; nothing when the target is not predictable
    std::optional<double> recorded;   // the date in the file (reached later only)
    std::optional<double> distance;   // to the nearest region reached by the cut-off
};

// The figures of one cut-off year; each is nothing when it cannot be computed.
struct HindcastFigures {
    int reachedLater = 0;
    int notReached = 0;
    std::optional<double> auc, spearman, mae, distanceAuc, distanceSpearman;
};

struct HindcastYear {
    double year = 0;
    bool ran = false;   // false: the masked run stopped, `error` says why, and nothing is scored
    std::string error;
    HindcastFigures figures;
    std::vector<HindcastRegion> regions;  // in file order
    std::string targetName;
};

// What a hindcast scores of the masked run's forecast of its target.
struct MaskedForecast {
    std::string targetName;
    std::vector<int> regno;  // the regions finally used, by used position
    bool predictable = false;
    std::vector<double> predicted;  // by used position, when predictable
};

// The used regions that were reached after `year` or never, in file order, as the unmasked
// `data` records them, with the forecast's dates and the distances of the baseline.
std::vector<HindcastRegion> scoredRegions(const vec::VectorData& data, const RegionCentres& centres,
                                          const MaskedForecast& forecast, double year);

// The figures of scored regions (pure: the measures of rank_measures over the two classes).
HindcastFigures scoreRegions(const std::vector<HindcastRegion>& regions);

// One cut-off year; `centres` are those of the request's data. Throws Cancelled when the
// masked run was stopped by a checkpoint.
HindcastYear hindcastYear(const HindcastRequest& request, const RegionCentres& centres, double year,
                          Feedback& feedback);

// Every year in the order given; reports ProgressStage::Hindcasts. Throws RunError when
// the request has no target species among its species, Cancelled when stopped.
std::vector<HindcastYear> runHindcast(const HindcastRequest& request, const std::vector<double>& years,
                                      Feedback& feedback);

}  // namespace el::engine
