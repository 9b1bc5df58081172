#include "engine/kernels/species_pairs.hpp"

#include <cstddef>
#include <cstdint>

#include "engine/kernels/chunked_work.hpp"

namespace el::engine {
namespace {

// Species per piece of countsWith: a piece is a few milliseconds on a large map.
constexpr std::size_t kSpeciesPerChunk = 64;

std::size_t cellOf(int i, int j, int n) {
    return static_cast<std::size_t>(i) * static_cast<std::size_t>(n) + static_cast<std::size_t>(j);
}

// The code of every region pair (i, j), j > i, of species s; the rest of each row is 0.
std::vector<std::uint8_t> upperCodes(const SpeciesCodes& codes, int s) {
    const int n = codes.regions;
    const std::int32_t* key = codes.keys(s);
    const std::uint8_t* kind = codes.kinds(s);
    const std::uint8_t* partners = codes.partnersOf(s);
    std::vector<std::uint8_t> out(cellOf(n, 0, n), 0);
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            out[cellOf(i, j, n)] = static_cast<std::uint8_t>(pairCode(key[i], partners[i], key[j], kind[j]));
    return out;
}

// Species s against the codes `other` of upperCodes: both related, and related alike.
void countAgainst(const SpeciesCodes& codes, int s, const std::vector<std::uint8_t>& other, long long& viable,
                  long long& same) {
    const int n = codes.regions;
    const std::int32_t* key = codes.keys(s);
    const std::uint8_t* kind = codes.kinds(s);
    const std::uint8_t* partners = codes.partnersOf(s);
    for (int i = 0; i + 1 < n; ++i) {
        if (partners[i] == 0) continue;  // "Unknown" relates to nothing
        const std::uint8_t* theirs = other.data() + cellOf(i, 0, n);
        const std::int32_t keyI = key[i];
        const std::uint8_t partnersI = partners[i];
        int both = 0, alike = 0;
        for (int j = i + 1; j < n; ++j) {
            const int code = pairCode(keyI, partnersI, key[j], kind[j]);
            const int their = theirs[j];
            both += static_cast<int>(code != 0) & static_cast<int>(their != 0);
            alike += static_cast<int>(code == their) & static_cast<int>(their != 0);
        }
        viable += both;
        same += alike;
    }
}

}  // namespace

PairCounts countsWith(const SpeciesCodes& codes, int other, int threads, Feedback& feedback) {
    return countsWith(codes, codes, other, threads, feedback);
}

PairCounts countsWith(const SpeciesCodes& codes, const SpeciesCodes& others, int other, int threads,
                      Feedback& feedback) {
    const auto m = static_cast<std::size_t>(codes.species);
    PairCounts out{std::vector<double>(m, 0.0), std::vector<int>(m, 0)};
    const std::vector<std::uint8_t> theirs = upperCodes(others, other);
    forChunks(threads, m, kSpeciesPerChunk, feedback, [&](std::size_t begin, std::size_t end) {
        for (std::size_t s = begin; s < end; ++s) {
            long long viable = 0, same = 0;
            countAgainst(codes, static_cast<int>(s), theirs, viable, same);
            out.viable[s] = static_cast<int>(viable);
            out.same[s] = static_cast<double>(same);
        }
    });
    return out;
}

PairCounts ownCounts(const SpeciesCodes& codes) {
    const auto m = static_cast<std::size_t>(codes.species);
    PairCounts out{std::vector<double>(m, 0.0), std::vector<int>(m, 0)};
    for (int s = 0; s < codes.species; ++s) {
        long long dated = 0, arrived = 0, notYet = 0;
        const std::uint8_t* kind = codes.kinds(s);
        for (int i = 0; i < codes.regions; ++i) {
            dated += kind[i] == kKindDate;
            arrived += kind[i] == kKindArrived;
            notYet += kind[i] == kKindNotYet;
        }
        // Two dates always relate, and so does a date or an arrival with a region not reached.
        const long long pairs = dated * (dated - 1) / 2 + (dated + arrived) * notYet;
        out.viable[static_cast<std::size_t>(s)] = static_cast<int>(pairs);
        out.same[static_cast<std::size_t>(s)] = static_cast<double>(pairs);
    }
    return out;
}

}  // namespace el::engine
