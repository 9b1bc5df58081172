#pragma once
// The early-late matrix of one power pass from the packed codes, row by row: every cell
// sums its species in species order, exactly as the plain build adds them, so the matrix
// is the plain one bit for bit. The build runs without branches over eight cells at a
// time where the processor allows, and carries the sums the filling of missing cells
// needs along in the same sweep.

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

#include "engine/kernels/packed_codes.hpp"
#include "engine/kernels/square_matrix.hpp"

namespace el::engine {

// The weights of one pass as the packed build uses them: the species that count (every
// species but the target whose weight is not 0), in species order, and what each of the
// codes 0..3 of such a species adds to a cell's sum of weighted codes (0, w, 2w, 3w) and to
// its weight sum (0, w, w, w). Each table holds its four values twice.
struct PackedWeights {
    std::vector<int> species;
    std::vector<int> shift;  // per counted species, where its code sits in its word
    std::vector<std::array<double, 8>> sumAdd;
    std::vector<std::array<double, 8>> weightAdd;
    std::vector<int> planeEnd;  // counted species of planes 0..k: species[0 .. planeEnd[k])
    bool bounded = false;       // no sum can overflow: every cell of the matrix is finite
};

// Nothing when a weight of a species other than the target is negative or not a number:
// the connection matrix of such a pass cannot be told from the species alone.
std::optional<PackedWeights> packedWeights(const std::vector<double>& weight, int target, int planes);

// What the build adds up for the filling of missing cells, cell by cell: the known cells
// (weight sum above 0) in row-major order into `total`, and row i's known cells into
// rowTotal[i]. Either may be null; `total` is only continued correctly when the rows are
// built in order on one thread.
struct FillSums {
    double* total = nullptr;
    double* rowTotal = nullptr;
};

enum class KernelChoice { Best, Portable };

// Rows [begin, end) of M, sized codes.regions by the caller: M(i, j) = the weighted mean
// code over the counted species relating i and j, 0 where none does.
void buildPackedRows(const PackedCodes& codes, const PackedWeights& weights, int begin, int end, SquareMatrix& M,
                     const FillSums& sums, KernelChoice choice = KernelChoice::Best);

}  // namespace el::engine
