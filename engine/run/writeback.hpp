#pragma once
// Adds the prediction of a run to the source vector file as new variables, replacing the
// file atomically: on any failure the source stays byte-for-byte as it was.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/feedback.hpp"
#include "engine/pass/region_score.hpp"
#include "vector/vector_data.hpp"

namespace el::engine {

struct PredictionColumns {
    std::vector<int> regionviable;                      // per region number
    UsedRegions used;                                   // regions finally used
    std::vector<double> score;                          // region score per used position
    std::vector<std::string> speciesNames;              // species-table order
    std::vector<std::vector<std::string>> table;        // [species][used position]: date text or "Unpredictable"
};

// The steps of a write-back after the new source is complete in memory, in order. Until
// Renamed the source is as it was; from Renamed on it is the new one.
enum class WriteBackStep {
    Encoded,          // the new source's bytes are built, in the source's encoding
    Created,          // an empty temporary file beside the source
    Written,          // the bytes are in it
    PermissionsKept,  // it has the source's permissions
    Synced,           // it is on the disk
    Closed,
    Renamed,          // it has replaced the source
    FolderSynced,     // the replacement itself is on the disk
};

// Called after each step; whatever it throws fails the write-back like a file error does
// (tests stop it after every step this way).
using WriteBackStepHook = std::function<void(WriteBackStep)>;

// Builds the enlarged copy of `loaded`, its text in memory as VectorFileWrite writes it,
// each line less its trailing commas in the source's encoding, and replaces `sourceFile`
// (the file a symbolic link points to, keeping its permissions) with a temporary file
// beside it, synced and renamed over it. Yields once per line. Throws RunError when
// anything fails; the source is then as it was and no temporary file is left.
void addPredictionToSource(const vec::VectorData& loaded, const PredictionColumns& columns,
                           const std::string& missvalue, const std::filesystem::path& sourceFile, Feedback& feedback,
                           const WriteBackStepHook& afterStep = {});

// The enlarged copy alone (variable names and values), for tests and for the map view.
vec::VectorData withPrediction(const vec::VectorData& loaded, const PredictionColumns& columns,
                               const std::string& missvalue);

}  // namespace el::engine
