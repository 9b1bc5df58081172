#pragma once
// The comparison of species as the passes of a run read it, counted when first asked for
// and kept for the run: the target's column for its weights, the diagonal for automatic
// weights, the whole matrix only for the similarity output. A run without that output thus
// never holds a species-by-species matrix. Safe to ask from several threads: each part is
// counted once, and whoever asks meanwhile waits for it.

#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "base/feedback.hpp"
#include "engine/kernels/relations.hpp"
#include "engine/kernels/species_pairs.hpp"
#include "engine/kernels/status_ranks.hpp"

namespace el::engine {

class SpeciesComparisons {
public:
    // Counted from `codes` as the parts are asked for, on `threads` threads.
    SpeciesComparisons(std::shared_ptr<const SpeciesCodes> codes, int threads);
    // Every part read off the whole matrix, counted beforehand: the plain reading.
    explicit SpeciesComparisons(SpeciesComparison whole);

    // Per species s: samepairs(s, t) and viablepairs(s, t).
    const PairCounts& with(int t, Feedback& feedback);
    // Per species s: samepairs(s, s) and viablepairs(s, s).
    const PairCounts& own();
    const SpeciesComparison& whole(Feedback& feedback);

private:
    static PairCounts columnOf(const SpeciesComparison& whole, int t);

    std::mutex mutex_;  // guards everything below while a part is counted
    std::shared_ptr<const SpeciesCodes> codes_;
    int threads_ = 1;
    std::map<int, PairCounts> columns_;
    std::optional<PairCounts> own_;
    std::optional<SpeciesComparison> whole_;
};

}  // namespace el::engine
