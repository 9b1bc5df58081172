// The whole species comparison (every ordered species pair), which only the similarity
// output and the plain reading need. Region pairs go through in blocks; per block every
// species gets one bit set per code over the block's pairs, and each species pair's
// agreements are an AND and a population count over whole words. The blocks are made one
// after the other, the rows of species pairs of a block are cut between the threads, and
// each cell is added to by one thread only, so the counts go straight into the result.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "base/work_pool.hpp"
#include "engine/kernels/bit_count.hpp"
#include "engine/kernels/chunked_work.hpp"
#include "engine/kernels/relations.hpp"

namespace el::engine {
namespace {

// At most this many words per bit set, and about this many bytes for all of a block's sets.
constexpr std::size_t kMostBlockWords = 512;
constexpr std::size_t kBlockBytes = std::size_t{64} << 20;
constexpr std::size_t kRowsPerChunk = 16;

// The first region pair of a block: pairs (i, j), i < j, in row order.
struct PairCursor {
    int i = 0;
    int j = 1;
};

class PairBlocks {
public:
    PairBlocks(const SpeciesCodes& codes, std::size_t words)
        : codes_(codes), words_(words), bits_(static_cast<std::size_t>(codes.species) * 4 * words, 0) {}

    // Fills the sets of every species with the pairs from `start` on (as many as a block
    // holds), moves `start` past them and returns how many words they take.
    std::size_t fill(PairCursor& start, int threads) {
        std::fill(bits_.begin(), bits_.end(), 0);
        PairCursor end = start;
        std::size_t pairs = 0;
        for (; end.i + 1 < codes_.regions && pairs < words_ * 64; end = {end.i + 1, end.i + 2}) {
            const auto take = std::min(words_ * 64 - pairs, static_cast<std::size_t>(codes_.regions - end.j));
            pairs += take;
            if (end.j + static_cast<int>(take) < codes_.regions) {
                end.j += static_cast<int>(take);
                break;
            }
        }
        forRanges(threads, static_cast<std::size_t>(codes_.species), [&](std::size_t first, std::size_t last) {
            for (std::size_t s = first; s < last; ++s) fillSpecies(static_cast<int>(s), start, pairs);
        });
        start = end;
        return (pairs + 63) / 64;
    }

    // Per code (0 any, 1..3 the code), the bits of species s.
    const std::uint64_t* set(std::size_t s, std::size_t code) const { return bits_.data() + (s * 4 + code) * words_; }

private:
    void fillSpecies(int s, PairCursor at, std::size_t pairs) {
        const std::int32_t* key = codes_.keys(s);
        const std::uint8_t* kind = codes_.kinds(s);
        const std::uint8_t* partners = codes_.partnersOf(s);
        std::uint64_t* out = bits_.data() + static_cast<std::size_t>(s) * 4 * words_;
        for (std::size_t p = 0; p < pairs; ++p) {
            const int code = pairCode(key[at.i], partners[at.i], key[at.j], kind[at.j]);
            const std::uint64_t bit = static_cast<std::uint64_t>(code != 0) << (p & 63);
            out[p >> 6] |= bit;
            out[static_cast<std::size_t>(code) * words_ + (p >> 6)] |= code != 0 ? bit : 0;
            if (++at.j == codes_.regions) at = {at.i + 1, at.i + 2};
        }
    }

    const SpeciesCodes& codes_;
    std::size_t words_;
    std::vector<std::uint64_t> bits_;  // [(s * 4 + code) * words + word]
};

std::size_t blockWords(int regions, int species) {
    const auto n = static_cast<std::size_t>(regions);
    const std::size_t allPairs = n > 1 ? n * (n - 1) / 2 : 0;
    const std::size_t byMemory = kBlockBytes / (std::max<std::size_t>(static_cast<std::size_t>(species), 1) * 32);
    return std::max<std::size_t>(1, std::min({kMostBlockWords, (allPairs + 63) / 64, byMemory}));
}

}  // namespace

SpeciesComparison compareSpecies(const SpeciesCodes& codes, int threads, Feedback& feedback) {
    const int m = codes.species;
    const auto size = static_cast<std::size_t>(m);
    SpeciesComparison cmp;
    cmp.species = m;
    cmp.same.assign(size * size, 0.0);
    cmp.viable.assign(size * size, 0);
    if (m == 0 || codes.regions < 2) return cmp;
    PairBlocks blocks(codes, blockWords(codes.regions, m));
    for (PairCursor start; start.i + 1 < codes.regions;) {
        const std::size_t words = blocks.fill(start, threads);
        forChunks(threads, size, kRowsPerChunk, feedback, [&](std::size_t first, std::size_t last) {
            for (std::size_t r = first; r < last; ++r)
                for (std::size_t c = r; c < size; ++c) {
                    long long agree = 0;
                    for (std::size_t code = 1; code <= 3; ++code)
                        agree += countCommonBits(blocks.set(r, code), blocks.set(c, code), words);
                    cmp.viable[r * size + c] +=
                        static_cast<int>(countCommonBits(blocks.set(r, 0), blocks.set(c, 0), words));
                    cmp.same[r * size + c] += static_cast<double>(agree);
                }
        });
    }
    for (std::size_t r = 0; r < size; ++r)
        for (std::size_t c = r + 1; c < size; ++c) {
            cmp.viable[c * size + r] = cmp.viable[r * size + c];
            cmp.same[c * size + r] = cmp.same[r * size + c];
        }
    return cmp;
}

SpeciesComparison compareSpecies(const StatusMatrix& status, int threads) {
    Feedback quiet;
    return compareSpecies(speciesCodes(status), threads, quiet);
}

}  // namespace el::engine
