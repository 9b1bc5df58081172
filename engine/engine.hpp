#pragma once
// The forecasting engine's entry point: one click of "G  O" on a loaded data set.

#include <filesystem>
#include <string>
#include <vector>

#include "base/host.hpp"
#include "engine/trial_random.hpp"
#include "vector/vector_data.hpp"

namespace el::engine {

struct RunRequest {
    const VectorData* data = nullptr;    // the data set of the last Read; must be consistent()
    std::vector<std::string> species;    // the species list, in list order
    std::filesystem::path sourceFile;    // chosen folder + datafilename, replaced by the write-back
    std::string missvalue = "null";
    std::string calculationDate;         // "MM-DD-YYYY"
    std::filesystem::path workDir = "."; // scratch files and the weight-test file
};

enum class RunStatus {
    Completed,  // every pass ran
    NoSpecies,  // empty species list: the log was cleared, nothing else
    Stopped,    // ended early (message shown): bad input, split regions, failed write-back
};

// What a finished run leaves for display; empty after a run that stopped early.
struct RunSummary {
    std::vector<int> regno;                        // used position -> region number
    std::vector<double> score;                     // region score per used position
    std::vector<std::vector<std::string>> prediction;  // [species][used position] as in the table
};

// Lives as long as the window (or batch process): holds the random generator, which is
// seeded once and continues from run to run.
class Engine {
public:
    RunStatus run(const RunRequest& request, Host& host);
    const RunSummary& lastSummary() const { return summary_; }

private:
    TrialRandom random_;
    RunSummary summary_;
};

}  // namespace el::engine
