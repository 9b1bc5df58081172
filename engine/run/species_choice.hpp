#pragma once
// Which species a run analyses, chosen from the names the user gave and the data read, as
// the batch runner and the R package both choose them.

#include <optional>
#include <string>
#include <vector>

#include "vector/vector_data.hpp"

namespace el::engine {

struct SpeciesChoice {
    std::vector<std::string> species;
    std::string error;  // empty when the choice is sound
};

// The names given in their order, a repeat taken once, each of them a variable of the data
// (else the error names the first that is not, and `fileName`); with no names given, every
// variable in file order.
SpeciesChoice chooseSpecies(const vec::VectorData& data, const std::optional<std::vector<std::string>>& given,
                            const std::string& fileName);

// The refusal of a hindcast whose target is not among the species analysed; nothing when
// it is.
std::optional<std::string> targetNotAnalysed(const std::vector<std::string>& species, const std::string& target);

}  // namespace el::engine
