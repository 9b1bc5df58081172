#pragma once
// The warnings of a run's input, given by every front end before the run: duplicated region
// names, a species without dates, a training share that hides no date, a name that mixes
// alphabets. None of them goes into the log.

#include <optional>
#include <string>
#include <vector>

#include "base/settings.hpp"
#include "ops/diagnostic.hpp"
#include "vector/vector_data.hpp"

namespace el::ops {

// Every warning for a run of `species` over `data` with these settings, in that order: the
// duplicated names (once, naming the first few), one per species without a dated region,
// the target's training share when it leaves nothing to validate on, then the region names
// and the species names (analysed, or looked like by one analysed) that mix alphabets.
Diagnostics inputDiagnostics(const vec::VectorData& data, const std::vector<std::string>& species,
                             const SettingValues& settings);

// The encoding the automatic choice read `fileName` in, when it was not UTF-8: e.g. "read
// data.csv as WINDOWS-1252 (not UTF-8)". Each front end adds how to choose another.
std::optional<Diagnostic> encodingGuess(const std::string& fileName, const vec::TextEncoding& encoding);

// The texts of `diagnostics` as the batch runner writes them: "warning: " before a warning.
std::vector<std::string> consoleTexts(const Diagnostics& diagnostics);

}  // namespace el::ops
