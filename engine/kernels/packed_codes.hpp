#pragma once
// The relation codes of every region pair and species, two bits each and 32 species to a
// 64-bit word, for the early-late matrix that every power pass builds anew: a pair's codes
// of up to 32 species are one load, and the species that relate a pair are a mask away.
// 3000 regions and 30 species take 72 MB.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/kernels/early_late_counts.hpp"
#include "engine/kernels/status_ranks.hpp"

namespace el::engine {

inline constexpr int kSpeciesPerWord = 32;

struct PackedCodes {
    int regions = 0;
    int species = 0;
    int planes = 0;  // words per pair: species 32k .. 32k + 31 are in plane k
    // Row i holds its planes one after the other: word (i, k, j) at [(i * planes + k) * regions + j];
    // species 32k + s of the pair (i, j) in bits 2s and 2s + 1.
    std::vector<std::uint64_t> word;

    const std::uint64_t* row(int i, int k) const { return word.data() + at(i, k); }
    std::uint64_t* row(int i, int k) { return word.data() + at(i, k); }
    std::size_t at(int i, int k) const {
        const auto size = [](int v) { return static_cast<std::size_t>(v); };
        return (size(i) * size(planes) + size(k)) * size(regions);
    }
};

// Every pair's codes; the rows are cut between `threads` threads.
PackedCodes packCodes(const SpeciesCodes& codes, int threads);

// The codes among the regions at `keep` (ascending positions of `codes`) only, in that order.
PackedCodes keptCodes(const PackedCodes& codes, const std::vector<int>& keep);

// hayai, onaji and osoi from the codes: per pair, the species (all of them) with code 1, 2
// and 3. The same counts as countRelations; the rows are cut between `threads` threads.
EarlyLateCounts countCodes(const PackedCodes& codes, int threads);

// Per plane, the low bit of the code of every species in `species` (numbers, any order):
// a pair is related by one of them where (word | word >> 1) & mask is not 0.
std::vector<std::uint64_t> speciesMask(int species, const std::vector<int>& chosen);

}  // namespace el::engine
