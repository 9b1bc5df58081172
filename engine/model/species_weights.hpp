#pragma once
// The weight of every species in a power pass, and how it was given.

#include <vector>

namespace el::engine {

enum class WeightMode { Target, Automatic, Uniform };

struct SpeciesWeights {
    WeightMode mode = WeightMode::Uniform;
    std::vector<double> weight;
    std::vector<bool> viable;  // automatic mode: false for a species without any viable pair
};

}  // namespace el::engine
