#pragma once
// What is checked of a run's input before it starts, beyond what the run itself refuses: a
// target that names no species analysed is refused; duplicated region names, a species with
// no date and a training share that hides no date are warned of. None of these texts goes
// into the log: ops/input_review.hpp gathers the warnings for every front end.

#include <optional>
#include <string>
#include <vector>

#include "base/settings.hpp"
#include "vector/vector_data.hpp"

namespace el::engine {

// The refusal of a target species that is not among `species`: a name that is no variable
// gets "no species named ..." with the closest names; a variable left out of the species
// list says so. Nothing for an empty target or one analysed.
std::optional<std::string> targetRefusal(const vec::VectorData& data, const std::vector<std::string>& species,
                                         const std::string& target);

// The region names held by more than one region, in the order they first repeat.
std::vector<std::string> duplicatedRegionNames(const vec::VectorData& data);

// "3 region names are used more than once: ..." naming the first few; nothing when every
// name is unique.
std::optional<std::string> duplicatedNamesWarning(const vec::VectorData& data);

// One warning per analysed species that has a date in no region (keywords and missing
// values only): it takes part in no early-late relation and gets no prediction line.
std::vector<std::string> undatedSpeciesWarnings(const vec::VectorData& data, const std::vector<std::string>& species);

// The warning of a training share below 1 that hides no date of the target, so that no
// region is left to validate the fit on. Nothing without a target, for a share of 1 or more
// or one that is not a number (the run refuses that itself).
std::optional<std::string> noValidationWarning(const vec::VectorData& data, const std::string& target,
                                               const std::string& trainingRatioText);

}  // namespace el::engine
