#pragma once
// Deterministic, spatially structured invasion data for benchmarks: regions on a grid,
// each species spreading outwards from its own origin with some noise, later regions not
// reached yet, a few arrivals without date and a few unknowns.

#include <ostream>
#include <string>

#include "vector/vector_data.hpp"

namespace el::bench {

struct SyntheticShape {
    int regions = 100;
    int species = 10;          // the last one is the target "Target"
    int nodesPerRegion = 4;    // polygon nodes per region
    unsigned seed = 20261206;
    double startRange = 100;   // the species' first records start within this many years of 1900
    double horizonMin = 20;    // a species reaches no region later than horizonMin to
    double horizonRange = 60;  // horizonMin + horizonRange years after its start
};

vec::VectorData makeInvasionData(const SyntheticShape& shape);

// The same data set as vector file text (CR LF lines), for benchmarks of the Read step:
// streamed line by line, or as one text.
void writeVectorFile(const vec::VectorData& data, std::ostream& out);
std::string toVectorFileText(const vec::VectorData& data);

}  // namespace el::bench
