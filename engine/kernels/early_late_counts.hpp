#pragma once
// Per ordered pair of regions, the number of analysed species that reached the first
// region earlier than (hayai), at the same time as (onaji) or later than (osoi) the second.

#include "engine/kernels/square_matrix.hpp"

namespace el::engine {

struct EarlyLateCounts {
    CountMatrix hayai;
    CountMatrix onaji;
    CountMatrix osoi;
    int regions() const { return hayai.size(); }
};

}  // namespace el::engine
