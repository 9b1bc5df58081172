#pragma once
// Deterministic data shaped like a first-record database: many species, most of them
// recorded in one to five regions, a few hundred in fifteen or more; every region without a
// record of a species reads "NotYetArrived", as a records table gives it. Dates are whole
// years, so many regions share one. Regions are squares on a grid, each with its own
// openness (how early and how many aliens it receives); every species spreads from a region
// of its own, nearest and most open regions first.

#include "vector/vector_data.hpp"

namespace el::bench {

struct RecordsShape {
    int regions = 45;
    int species = 12000;  // the last one is the target "Target", recorded in two thirds of the regions
    unsigned seed = 20261207;
};

vec::VectorData makeRecordsShapedData(const RecordsShape& shape);

// How many species are recorded in at least `regions` regions (the shape's check).
int speciesInAtLeast(const vec::VectorData& data, int regions);

}  // namespace el::bench
