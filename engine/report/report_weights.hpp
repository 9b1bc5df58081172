#pragma once
// How species weights and the species similarity matrices are printed.

#include <string>
#include <vector>

#include "engine/kernels/relations.hpp"
#include "engine/model/species_weights.hpp"
#include "engine/report/report_header.hpp"

namespace el::engine {

// Nothing for uniform weights.
LogLines weightLines(const SpeciesWeights& weights, const std::vector<std::string>& names,
                     const std::string& targetText);

enum class SimilarityForm { Similarity, Dissimilarity };

// The similarity (or dissimilarity) matrix, then the matrix of viable pairs; -1 where a
// species pair has no viable pair.
LogLines similarityLines(const SpeciesComparison& cmp, const std::vector<std::string>& names, SimilarityForm form);

}  // namespace el::engine
