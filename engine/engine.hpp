#pragma once
// The forecasting engine's entry point: one click of "G  O" on a loaded data set.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/feedback.hpp"
#include "base/log_sink.hpp"
#include "base/messenger.hpp"
#include "base/settings.hpp"
#include "engine/prediction.hpp"
#include "engine/trial_random.hpp"
#include "vector/vector_data.hpp"

namespace el::engine {

struct RunRequest {
    const VectorData* data = nullptr;    // the data set of the last Read; must be consistent()
    std::vector<std::string> species;    // the species list, in list order
    std::filesystem::path sourceFile;    // the file that was read, replaced by the write-back
    bool sourceWritable = true;          // false when the data came from a converted GIS file
    std::string missvalue = "null";
    std::string calculationDate;         // "MM-DD-YYYY"
    std::filesystem::path workDir = "."; // the weight-test file
};

// Whom a run talks to: settings read live, report lines, messages, progress and stops.
struct RunHooks {
    SettingsSource& settings;
    LogSink& log;
    Messenger& messenger;
    Feedback& feedback;
};

enum class RunStatus {
    Completed,  // every pass ran
    NoSpecies,  // empty species list: the log was cleared, nothing else
    Stopped,    // ended early (message shown): bad input, split regions, failed write-back
    Cancelled,  // a checkpoint threw el::Cancelled: no file written, the log keeps its lines
};

// Where a region stands in the last pass, as the figures tell it apart.
enum class RegionRole {
    Training,    // used, and its target date (or, without target, any date) took part in the fit
    Validation,  // used, its target date hidden by the split
    Other,       // used, with no date of the target species
    Excluded,    // left out by the exclusion of regions with few relations
};

// The straight line of one species in the last pass.
using FitLine = SpeciesFit;

// What a finished run leaves for display; empty after a run that stopped early.
struct RunSummary {
    std::vector<int> regno;                        // used position -> region number
    std::vector<double> score;                     // region score per used position
    std::vector<std::vector<std::string>> prediction;  // [species][used position] as in the table

    // For the figures: every region in file order, the species in list order and their fits.
    std::vector<std::string> speciesNames;
    int target = -1;                      // species position of the target, -1 without one
    std::vector<FitLine> fits;            // per species
    std::vector<std::string> regionNames; // per region number
    std::vector<std::optional<double>> actualDate;  // per region number: the target's date before the split
    std::vector<std::string> actualText;  // per region number: the target's value text before the split
    std::vector<RegionRole> role;         // per region number
};

// Lives as long as the window (or batch process): holds the random generator, which is
// seeded once and continues from run to run.
class Engine {
public:
    RunStatus run(const RunRequest& request, const RunHooks& hooks);
    const RunSummary& lastSummary() const { return summary_; }

private:
    TrialRandom random_;
    RunSummary summary_;
};

}  // namespace el::engine
