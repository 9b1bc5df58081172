#pragma once
// A completed run summed up as one JSON document for scripts: what was run on what (the
// version, the input file and its SHA-256, every setting), how much (regions, species), how
// well (each species' fit and coefficients, the skill of the target's dates, the stability
// of the region scores under resampling), how long, and the hindcasts when asked for. A coefficient that cannot be computed is null, never -10.

#include <optional>
#include <string>
#include <vector>

#include "base/settings.hpp"
#include "engine/hindcast/hindcast.hpp"
#include "engine/hindcast/hindcast_all.hpp"
#include "engine/model/run_result.hpp"
#include "engine/risk/risk_result.hpp"

namespace el::engine {

struct RunSummaryInput {
    std::string version;
    std::string inputFile;              // as the user named it
    std::optional<std::string> sha256;  // of the input file's bytes; null when it could not be read
    const SettingsSource& settings;     // as the run left them
    std::string calculationDate;
    const RunResult& result;
    double runSeconds = 0;
    const std::vector<HindcastYear>* hindcast = nullptr;  // no "hindcast" key without one
    const vec::VectorData* data = nullptr;                // the data set run on: the "skill" object needs it
    const AllSpeciesHindcast* hindcastAll = nullptr;       // no "hindcast_all" key without one
    const RiskResult* risk = nullptr;                      // no "risk" key without one
};

// Pretty-printed UTF-8 JSON, keys in a fixed order, ending in a line feed.
std::string runSummaryJson(const RunSummaryInput& input);

}  // namespace el::engine
