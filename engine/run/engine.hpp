#pragma once
// The forecasting engine's entry point: one click of "G  O" on a loaded data set.

#include <filesystem>
#include <string>
#include <vector>

#include "base/feedback.hpp"
#include "base/log_sink.hpp"
#include "base/messenger.hpp"
#include "base/settings.hpp"
#include "engine/model/run_result.hpp"
#include "engine/trials/trial_random.hpp"
#include "vector/vector_data.hpp"

namespace el::engine {

struct RunRequest {
    const vec::VectorData* data = nullptr;  // the data set of the last Read; must be consistent()
    std::vector<std::string> species;    // the species list, in list order
    std::filesystem::path sourceFile;    // the file that was read, replaced by the write-back
    bool sourceWritable = true;          // false when the data came from a converted GIS file
    std::string unwritableSource = "a GIS file";  // what the source is, when it is not writable
    std::string missvalue = "null";
    std::string calculationDate;         // "MM-DD-YYYY"
    std::filesystem::path workDir = "."; // the weight-test file
    // The reference computation: the matrix built from the status matrix and the
    // connectivity test made in every pass, on one thread. The same numbers, slower; for
    // the tests that hold the fast paths to it.
    bool plain = false;
};

// Whom a run talks to: settings read live, report lines, messages, progress and stops.
struct RunHooks {
    SettingsSource& settings;
    LogSink& log;
    Messenger& messenger;
    Feedback& feedback;
};

// Lives as long as the window (or batch process): holds the random generator, which is
// seeded once and continues from run to run, and nothing else, so engines in separate
// threads run independently.
class Engine {
public:
    // One click of "G  O". The result carries the status, and everything else only when the
    // run completed.
    RunResult run(const RunRequest& request, const RunHooks& hooks);

private:
    TrialRandom random_;
};

}  // namespace el::engine
