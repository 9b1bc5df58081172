#pragma once
// The status of every region, one species at a time, in a form that gives the relation
// code of any region pair with a few integer operations and no branches, so the loops
// over region pairs vectorise. Dates become their rank among the species' dates (equal
// dates share a rank), "NotYetArrived" ranks after every date, and each region carries
// the set of kinds it has a relation with.

#include <cstdint>
#include <vector>

#include "engine/kernels/status_matrix.hpp"

namespace el::engine {

// Kind bits: a pair has a relation when the first region's partner bits hold the second's kind.
inline constexpr std::uint8_t kKindDate = 1;
inline constexpr std::uint8_t kKindArrived = 2;
inline constexpr std::uint8_t kKindNotYet = 4;

struct SpeciesCodes {
    int regions = 0;
    int species = 0;
    std::vector<std::int32_t> key;       // [s * regions + i]
    std::vector<std::uint8_t> kind;      // [s * regions + i], 0 for "Unknown"
    std::vector<std::uint8_t> partners;  // [s * regions + i]

    const std::int32_t* keys(int s) const { return key.data() + offset(s); }
    const std::uint8_t* kinds(int s) const { return kind.data() + offset(s); }
    const std::uint8_t* partnersOf(int s) const { return partners.data() + offset(s); }

private:
    std::size_t offset(int s) const { return static_cast<std::size_t>(s) * static_cast<std::size_t>(regions); }
};

SpeciesCodes speciesCodes(const StatusMatrix& status);

// The relation code of region a to region b for one species: 0 none, 1 earlier, 2 same, 3 later.
inline int pairCode(std::int32_t keyA, std::uint8_t partnersA, std::int32_t keyB, std::uint8_t kindB) {
    const int ordered = 2 + static_cast<int>(keyA > keyB) - static_cast<int>(keyA < keyB);
    return (partnersA & kindB) != 0 ? ordered : 0;
}

}  // namespace el::engine
