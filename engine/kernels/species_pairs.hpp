#pragma once
// What the species weights read of the comparison of species, counted without the whole
// species-by-species matrix: with a target, its column (each species against the target);
// with automatic weights, the diagonal (each species against itself). Both equal the
// corresponding cells of compareSpecies, which only the similarity output needs whole.

#include <vector>

#include "base/feedback.hpp"
#include "engine/kernels/status_ranks.hpp"

namespace el::engine {

// Per species s, in species order.
struct PairCounts {
    std::vector<double> same;  // samepairs(s, other)
    std::vector<int> viable;   // viablepairs(s, other)
};

// Per species s: the region pairs i < j on which both s and `other` have a relation, and
// those on which the two relations are the same. The species are cut between `threads`
// threads; the calling thread answers `feedback`'s checkpoint between its pieces.
PairCounts countsWith(const SpeciesCodes& codes, int other, int threads, Feedback& feedback);
// The same against species `other` of `others` (codes of the same regions).
PairCounts countsWith(const SpeciesCodes& codes, const SpeciesCodes& others, int other, int threads,
                      Feedback& feedback);

// Per species: its own region pairs with a relation (same = viable), from how many regions
// hold a date, an arrival without date and no arrival.
PairCounts ownCounts(const SpeciesCodes& codes);

}  // namespace el::engine
