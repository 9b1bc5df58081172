#pragma once
// A forecast as every front end asks for one: the data set read, the species to analyse and
// where the data came from. The checks before the run (what refuses it, what it warns of)
// come back as diagnostics, the run as its result; the batch runner, the window and R only
// show them, each in its own way.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/settings.hpp"
#include "engine/report/similarity_size.hpp"
#include "engine/run/engine.hpp"
#include "ops/diagnostic.hpp"
#include "vector/vector_data.hpp"

namespace el::ops {

struct ForecastRequest {
    const vec::VectorData* data = nullptr;   // the data set of the last Read
    std::vector<std::string> species;        // in list order
    std::filesystem::path source;            // the file read, which the write-back replaces
    std::string unwritableSource;            // what the source is when nothing may be written into it; "" writable
    std::string missvalue;                   // the data set's missing-value text
    std::string calculationDate;             // "MM-DD-YYYY"
    std::filesystem::path workFolder = ".";  // where the weight-test file goes
};

// The engine's request for it.
engine::RunRequest runRequestOf(const ForecastRequest& request);

struct ForecastChecks {
    std::uint64_t similarityLimit = engine::kSimilarityOutputLimit;
    bool force = false;  // the similarity output is written whatever its size
};

// What is said before a run, in this order: a target that names no species analysed
// (refusal UnknownTarget, subject the target), a similarity output above the limit without
// `force` (refusal OversizedSimilarityOutput, subject its size in bytes), then the input's
// warnings (ops/input_review.hpp). A run with a refusal is not started.
Diagnostics checkForecast(const ForecastRequest& request, const SettingValues& settings,
                          const ForecastChecks& checks = {});

// The first refusal among `diagnostics`, if any.
const Diagnostic* firstRefusal(const Diagnostics& diagnostics);

struct ForecastResult {
    engine::RunResult run;
    double seconds = 0;  // wall time of the run
};

// The run. `engine` carries the trials' random stream from one run to the next.
ForecastResult forecast(engine::Engine& engine, const ForecastRequest& request, const engine::RunHooks& hooks);

// A completed run whose target's dates run against its region scores (a fitted line that
// looks like a forecast, but is none): the warning NoSkill, subject the target. Nothing for
// an examine-weight run, a target that is not predictable (the log says so) or one without
// a training r.
std::optional<Diagnostic> skillWarning(const vec::VectorData& data, const engine::RunResult& result);

}  // namespace el::ops
