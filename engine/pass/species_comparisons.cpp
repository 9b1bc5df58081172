#include "engine/pass/species_comparisons.hpp"

#include <utility>

namespace el::engine {

SpeciesComparisons::SpeciesComparisons(std::shared_ptr<const SpeciesCodes> codes, int threads)
    : codes_(std::move(codes)), threads_(threads) {}

SpeciesComparisons::SpeciesComparisons(SpeciesComparison whole) : whole_(std::move(whole)) {}

PairCounts SpeciesComparisons::columnOf(const SpeciesComparison& whole, int t) {
    PairCounts column;
    for (int s = 0; s < whole.species; ++s) {
        column.same.push_back(whole.samepairs(s, t));
        column.viable.push_back(whole.viablepairs(s, t));
    }
    return column;
}

const PairCounts& SpeciesComparisons::with(int t, Feedback& feedback) {
    const std::lock_guard lock(mutex_);
    if (const auto found = columns_.find(t); found != columns_.end()) return found->second;
    PairCounts column = whole_ ? columnOf(*whole_, t) : countsWith(*codes_, t, threads_, feedback);
    return columns_.emplace(t, std::move(column)).first->second;
}

const PairCounts& SpeciesComparisons::own() {
    const std::lock_guard lock(mutex_);
    if (own_) return *own_;
    if (whole_) {
        own_.emplace();
        for (int s = 0; s < whole_->species; ++s) {
            own_->same.push_back(whole_->samepairs(s, s));
            own_->viable.push_back(whole_->viablepairs(s, s));
        }
        return *own_;
    }
    return own_.emplace(ownCounts(*codes_));
}

const SpeciesComparison& SpeciesComparisons::whole(Feedback& feedback) {
    const std::lock_guard lock(mutex_);
    if (!whole_) whole_ = compareSpecies(*codes_, threads_, feedback);
    return *whole_;
}

}  // namespace el::engine
