#pragma once
// Early-late relations between regions: the relation code of a region pair for one
// species, the counts over species, the comparison of species, and the early-late
// matrix with its missing cells filled. Codes are computed on the fly from the numeric
// status view, so nothing of size regions x regions x species is ever stored.

#include <string>
#include <vector>

#include "base/feedback.hpp"
#include "engine/kernels/early_late_counts.hpp"
#include "engine/kernels/square_matrix.hpp"
#include "engine/kernels/status_matrix.hpp"
#include "engine/kernels/status_ranks.hpp"

namespace el::engine {

// 0 no relation, 1 region a earlier than region b, 2 same date, 3 later.
int relationCode(const Status& a, const Status& b);

// hayai/onaji/osoi over every analysed species, the target included: the plain count, on
// one thread (countCodes gives the same from the packed codes).
EarlyLateCounts countRelations(const StatusMatrix& status);

// Per ordered species pair: region pairs (i < j) on which both species have a relation,
// and those on which the relations are the same. Both are symmetric.
struct SpeciesComparison {
    int species = 0;
    std::vector<double> same;  // [r * species + c]
    std::vector<int> viable;
    double samepairs(int r, int c) const {
        return same[static_cast<std::size_t>(r) * static_cast<std::size_t>(species) + static_cast<std::size_t>(c)];
    }
    int viablepairs(int r, int c) const {
        return viable[static_cast<std::size_t>(r) * static_cast<std::size_t>(species) + static_cast<std::size_t>(c)];
    }
};
// The whole matrix, m x m: only the similarity output and the plain reading need it (the
// weights read one column or the diagonal, species_pairs.hpp). The species rows are cut
// between `threads` threads, each cell counted by one of them; the calling thread answers
// `feedback`'s checkpoint as it goes.
SpeciesComparison compareSpecies(const SpeciesCodes& codes, int threads, Feedback& feedback);
SpeciesComparison compareSpecies(const StatusMatrix& status, int threads = 1);

// regionviable: per region, the (partner region, training species) combinations with a
// relation, the target species left out. Does not depend on the weights.
std::vector<int> regionViable(const StatusMatrix& status, int target);
std::vector<int> regionViable(const SpeciesCodes& codes, int target);
// Adds species s's share of regionviable to `count` (one entry per region).
void addRegionViable(const SpeciesCodes& codes, int s, std::vector<int>& count);

// The early-late matrix M (weighted mean code, 0 where missing) and its weight sums W,
// the target species (-1: none) left out.
struct EarlyLateMatrix {
    SquareMatrix M;
    SquareMatrix W;
};
EarlyLateMatrix buildEarlyLateMatrix(const StatusMatrix& status, const std::vector<double>& weight, int target);

enum class FillMode { RowAverage, MatrixAverage };

// Reads the missing-value mode setting ("row" or "matrix").
FillMode fillModeOf(const std::string& setting);

// Sets every cell of M that is exactly 0 to the average of the known cells (W > 0) of its
// row or of the whole matrix.
void fillMissingCells(SquareMatrix& M, const SquareMatrix& W, FillMode mode);

}  // namespace el::engine
