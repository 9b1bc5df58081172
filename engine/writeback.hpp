#pragma once
// Adds the prediction of a run to the source vector file as new variables, replacing the
// file atomically: on any failure the source stays byte-for-byte as it was.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/feedback.hpp"
#include "engine/region_score.hpp"
#include "vector/vector_data.hpp"

namespace el::engine {

struct PredictionColumns {
    std::vector<int> regionviable;                      // per region number
    UsedRegions used;                                   // regions finally used
    std::vector<double> score;                          // region score per used position
    std::vector<std::string> speciesNames;              // species-table order
    std::vector<std::vector<std::string>> table;        // [species][used position]: date text or "Unpredictable"
};

// Builds the enlarged copy of `loaded`, writes it with VectorFileWrite to "temp3.csv" in
// `workDir`, and replaces `sourceFile` with its lines less their trailing commas. Yields once
// per line. Throws RunError (after removing its scratch files) when anything fails.
void addPredictionToSource(const VectorData& loaded, const PredictionColumns& columns, const std::string& missvalue,
                           const std::filesystem::path& sourceFile, const std::filesystem::path& workDir,
                           Feedback& feedback);

// Called with the 0-based line number before each line of the new source is written;
// whatever it throws fails the write-back like any file error (used by tests).
using WriteBackLineHook = std::function<void(int line)>;
void addPredictionToSource(const VectorData& loaded, const PredictionColumns& columns, const std::string& missvalue,
                           const std::filesystem::path& sourceFile, const std::filesystem::path& workDir,
                           Feedback& feedback, const WriteBackLineHook& beforeLine);

// The enlarged copy alone (variable names and values), for tests and for the map view.
VectorData withPrediction(const VectorData& loaded, const PredictionColumns& columns, const std::string& missvalue);

}  // namespace el::engine
