#include "engine/kernels/packed_codes.hpp"

#include <cstring>

#include "base/work_pool.hpp"
#include "engine/kernels/bit_count.hpp"
#include "engine/kernels/wide_kernels.hpp"

namespace el::engine {
namespace {

int planesFor(int species) { return (species + kSpeciesPerWord - 1) / kSpeciesPerWord; }

// Species s's codes of row i for the regions from..n-1, added to its plane.
void packSpecies(const SpeciesCodes& codes, int s, int i, int from, PackedCodes& out) {
    const std::int32_t* key = codes.keys(s);
    const std::uint8_t* kind = codes.kinds(s);
    const std::int32_t keyI = key[i];
    const std::uint8_t partnersI = codes.partnersOf(s)[i];
    const int shift = 2 * (s % kSpeciesPerWord);
    std::uint64_t* word = out.row(i, s / kSpeciesPerWord);
    for (int j = from; j < codes.regions; ++j)
        word[j] |= static_cast<std::uint64_t>(pairCode(keyI, partnersI, key[j], kind[j])) << shift;
}

#ifdef EARLYLATE_WIDE_KERNELS
// The same eight regions at a time: the code is 2, one more where region i ranks later,
// one less where earlier, and 0 where the kinds do not relate.
EARLYLATE_WIDE int packSpeciesWide(const SpeciesCodes& codes, int s, int i, PackedCodes& out) {
    const std::int32_t* key = codes.keys(s);
    const std::uint8_t* kind = codes.kinds(s);
    const __m512i keyI = _mm512_set1_epi64(codes.keys(s)[i]);
    const __m512i partnersI = _mm512_set1_epi64(codes.partnersOf(s)[i]);
    const __m128i shift = _mm_cvtsi32_si128(2 * (s % kSpeciesPerWord));
    const __m512i one = _mm512_set1_epi64(1), two = _mm512_set1_epi64(2);
    std::uint64_t* word = out.row(i, s / kSpeciesPerWord);
    int j = 0;
    for (; j + 8 <= codes.regions; j += 8) {
        const __m512i keyJ = _mm512_maskz_cvtepi32_epi64(kAllLanes, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(key + j)));
        const __mmask8 later = _mm512_cmpgt_epi64_mask(keyI, keyJ);
        const __mmask8 earlier = _mm512_cmpgt_epi64_mask(keyJ, keyI);
        std::uint64_t kinds = 0;
        std::memcpy(&kinds, kind + j, sizeof kinds);
        const __m512i kindJ = _mm512_maskz_cvtepu8_epi64(kAllLanes, _mm_cvtsi64_si128(static_cast<long long>(kinds)));
        const __mmask8 related = _mm512_test_epi64_mask(kindJ, partnersI);
        __m512i code = _mm512_mask_add_epi64(two, later, two, one);
        code = _mm512_mask_sub_epi64(code, earlier, code, one);
        code = _mm512_maskz_mov_epi64(related, code);
        const __m512i old = _mm512_loadu_si512(word + j);
        _mm512_storeu_si512(word + j, _mm512_or_si512(old, _mm512_maskz_sll_epi64(kAllLanes, code, shift)));
    }
    return j;
}
#endif

// Row i of every plane: species by species, each adding its codes of the whole row.
void packRow(const SpeciesCodes& codes, int i, PackedCodes& out) {
    for (int s = 0; s < codes.species; ++s) {
        int from = 0;
#ifdef EARLYLATE_WIDE_KERNELS
        if (wideKernels()) from = packSpeciesWide(codes, s, i, out);
#endif
        packSpecies(codes, s, i, from, out);
    }
}

}  // namespace

PackedCodes packCodes(const SpeciesCodes& codes, int threads) {
    PackedCodes out;
    out.regions = codes.regions;
    out.species = codes.species;
    out.planes = planesFor(codes.species);
    const auto n = static_cast<std::size_t>(codes.regions);
    out.word.assign(n * n * static_cast<std::size_t>(out.planes), 0);
    forRanges(threads, n, [&](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) packRow(codes, static_cast<int>(i), out);
    });
    return out;
}

PackedCodes keptCodes(const PackedCodes& codes, const std::vector<int>& keep) {
    PackedCodes out;
    out.regions = static_cast<int>(keep.size());
    out.species = codes.species;
    out.planes = codes.planes;
    const auto n = keep.size();
    out.word.resize(n * n * static_cast<std::size_t>(out.planes));
    for (int i = 0; i < out.regions; ++i)
        for (int k = 0; k < out.planes; ++k) {
            const std::uint64_t* from = codes.row(keep[static_cast<std::size_t>(i)], k);
            std::uint64_t* to = out.row(i, k);
            for (std::size_t j = 0; j < n; ++j) to[j] = from[keep[j]];
        }
    return out;
}

EarlyLateCounts countCodes(const PackedCodes& codes, int threads) {
    const int n = codes.regions;
    EarlyLateCounts counts{CountMatrix(n), CountMatrix(n), CountMatrix(n)};
    std::vector<int> every(static_cast<std::size_t>(codes.species));
    for (int s = 0; s < codes.species; ++s) every[static_cast<std::size_t>(s)] = s;
    const std::vector<std::uint64_t> fields = speciesMask(codes.species, every);
    forRanges(threads, static_cast<std::size_t>(n), [&](std::size_t begin, std::size_t end) {
        for (auto i = static_cast<int>(begin); i < static_cast<int>(end); ++i)
            for (int k = 0; k < codes.planes; ++k)
                addFieldCounts(codes.row(i, k), static_cast<std::size_t>(n), fields[static_cast<std::size_t>(k)],
                               counts.hayai.row(i), counts.onaji.row(i), counts.osoi.row(i));
    });
    return counts;
}

std::vector<std::uint64_t> speciesMask(int species, const std::vector<int>& chosen) {
    std::vector<std::uint64_t> mask(static_cast<std::size_t>(planesFor(species)), 0);
    for (int s : chosen)
        mask[static_cast<std::size_t>(s / kSpeciesPerWord)] |= std::uint64_t{1} << (2 * (s % kSpeciesPerWord));
    return mask;
}

}  // namespace el::engine
