#include "engine/kernels/early_late_rows.hpp"

#include <algorithm>

#include "engine/kernels/wide_kernels.hpp"


namespace el::engine {
namespace {

// Adds what the fill needs of one cell: -0.0 leaves any sum as it is, so a missing cell
// adds nothing, as when it is skipped.
void addKnown(const FillSums& sums, int i, double cell, bool known) {
    const double added = known ? cell : -0.0;
    if (sums.total != nullptr) *sums.total += added;
    if (sums.rowTotal != nullptr) sums.rowTotal[i] += added;
}

// One cell: the species in order, each adding its share of the code (+0.0 where it does not
// relate the pair, which changes no sum), then the mean where the weight sum is positive.
double packedCell(const PackedCodes& codes, const PackedWeights& weights, int i, int j, bool& known) {
    double sum = 0, weightSum = 0;
    int counted = 0;
    for (int k = 0; k < codes.planes; ++k) {
        const std::uint64_t word = codes.row(i, k)[j];
        for (; counted < weights.planeEnd[static_cast<std::size_t>(k)]; ++counted) {
            const auto code = static_cast<std::size_t>((word >> weights.shift[static_cast<std::size_t>(counted)]) & 3u);
            sum += weights.sumAdd[static_cast<std::size_t>(counted)][code];
            weightSum += weights.weightAdd[static_cast<std::size_t>(counted)][code];
        }
    }
    known = weightSum > 0;
    return known ? sum / weightSum : 0;
}

void portableRow(const PackedCodes& codes, const PackedWeights& weights, int i, SquareMatrix& M, const FillSums& sums) {
    double* out = M.row(i);
    for (int j = 0; j < codes.regions; ++j) {
        bool known = false;
        out[j] = packedCell(codes, weights, i, j, known);
        addKnown(sums, i, out[j], known);
    }
}

#ifdef EARLYLATE_WIDE_KERNELS
// kBlock times eight cells: every counted species picks its two additions by its code (the
// low three bits of the shifted word index a table that holds its four values twice). The
// block's sums are independent, so their additions overlap. Plane k's words start at
// words + k * stride.
constexpr int kBlock = 4;
constexpr int kBlockCells = 8 * kBlock;

EARLYLATE_WIDE void wideBlock(const std::uint64_t* words, std::size_t stride, int planes, const PackedWeights& weights,
                              double* out, __mmask8* known) {
    __m512d sum[kBlock], weightSum[kBlock];
#pragma GCC unroll 8
    for (int b = 0; b < kBlock; ++b) sum[b] = weightSum[b] = _mm512_setzero_pd();
    std::size_t c = 0;
    for (int k = 0; k < planes; ++k) {
        __m512i word[kBlock];
#pragma GCC unroll 8
        for (int b = 0; b < kBlock; ++b) word[b] = _mm512_loadu_si512(words + static_cast<std::size_t>(k) * stride + 8 * b);
        for (const auto end = static_cast<std::size_t>(weights.planeEnd[static_cast<std::size_t>(k)]); c < end; ++c) {
            const __m128i shift = _mm_cvtsi32_si128(weights.shift[c]);
            const __m512d sumTable = _mm512_loadu_pd(weights.sumAdd[c].data());
            const __m512d weightTable = _mm512_loadu_pd(weights.weightAdd[c].data());
#pragma GCC unroll 8
            for (int b = 0; b < kBlock; ++b) {
                const __m512i index = _mm512_maskz_srl_epi64(kAllLanes, word[b], shift);
                sum[b] = _mm512_add_pd(sum[b], _mm512_maskz_permutexvar_pd(kAllLanes, index, sumTable));
                weightSum[b] = _mm512_add_pd(weightSum[b], _mm512_maskz_permutexvar_pd(kAllLanes, index, weightTable));
            }
        }
    }
#pragma GCC unroll 8
    for (int b = 0; b < kBlock; ++b) {
        known[b] = _mm512_cmp_pd_mask(weightSum[b], _mm512_setzero_pd(), _CMP_GT_OQ);
        _mm512_storeu_pd(out + 8 * b, _mm512_maskz_div_pd(known[b], sum[b], weightSum[b]));
    }
}

// Continues the fill's sums over `count` cells of a block in column order.
EARLYLATE_WIDE void addBlock(const double* cells, const __mmask8* known, int count, int i, const FillSums& sums) {
    alignas(64) double added[kBlockCells];
    for (int b = 0; b < kBlock; ++b)
        _mm512_store_pd(added + 8 * b, _mm512_mask_blend_pd(known[b], _mm512_set1_pd(-0.0), _mm512_loadu_pd(cells + 8 * b)));
    for (int t = 0; t < count; ++t) {
        if (sums.total != nullptr) *sums.total += added[t];
        if (sums.rowTotal != nullptr) sums.rowTotal[i] += added[t];
    }
}

// The last cells of row i (fewer than a block), through a block of zero codes around them:
// `words` holds kBlockCells words per plane, zero past the row's last column. Every row puts
// its tail in the same places, so the zeros stay from one row to the next.
EARLYLATE_WIDE void wideTail(const PackedCodes& codes, const PackedWeights& weights, int i, int j,
                             std::uint64_t* words, double* out, const FillSums& sums) {
    const int count = codes.regions - j;
    for (int k = 0; k < codes.planes; ++k)
        std::copy(codes.row(i, k) + j, codes.row(i, k) + codes.regions, words + k * kBlockCells);
    alignas(64) double cells[kBlockCells];
    __mmask8 known[kBlock];
    wideBlock(words, kBlockCells, codes.planes, weights, cells, known);
    std::copy(cells, cells + count, out + j);
    addBlock(cells, known, count, i, sums);
}

EARLYLATE_WIDE void wideRow(const PackedCodes& codes, const PackedWeights& weights, int i, SquareMatrix& M,
                            const FillSums& sums, std::uint64_t* tailWords) {
    double* out = M.row(i);
    const int n = codes.regions;
    const bool summing = sums.total != nullptr || sums.rowTotal != nullptr;
    int j = 0;
    for (; j + kBlockCells <= n; j += kBlockCells) {
        __mmask8 known[kBlock];
        wideBlock(codes.row(i, 0) + j, static_cast<std::size_t>(n), codes.planes, weights, out + j, known);
        if (summing) addBlock(out + j, known, kBlockCells, i, sums);
    }
    if (j < n) wideTail(codes, weights, i, j, tailWords, out, summing ? sums : FillSums{});
}
#endif

}  // namespace

std::optional<PackedWeights> packedWeights(const std::vector<double>& weight, int target, int planes) {
    PackedWeights out;
    out.planeEnd.assign(static_cast<std::size_t>(planes), 0);
    for (int s = 0; s < static_cast<int>(weight.size()); ++s) {
        if (s == target) continue;
        const double w = weight[static_cast<std::size_t>(s)];
        if (!(w >= 0)) return std::nullopt;
        if (w == 0) continue;  // adds +0.0 to both sums of every cell it relates
        out.species.push_back(s);
        out.shift.push_back(2 * (s % kSpeciesPerWord));
        // w * code as the plain build multiplies it.
        const double code1 = w * 1.0, code2 = w * 2.0, code3 = w * 3.0;
        out.sumAdd.push_back({0.0, code1, code2, code3, 0.0, code1, code2, code3});
        out.weightAdd.push_back({0.0, w, w, w, 0.0, w, w, w});
    }
    // A cell sums at most 3w per species and its weights at most w each.
    const double largest = 1e300 / (3.0 * static_cast<double>(std::max<std::size_t>(out.species.size(), 1)));
    out.bounded = std::all_of(out.sumAdd.begin(), out.sumAdd.end(), [&](const auto& adds) { return adds[1] <= largest; });
    for (int k = 0; k < planes; ++k) {
        int end = 0;
        while (end < static_cast<int>(out.species.size()) &&
               out.species[static_cast<std::size_t>(end)] < (k + 1) * kSpeciesPerWord)
            ++end;
        out.planeEnd[static_cast<std::size_t>(k)] = end;
    }
    return out;
}

void buildPackedRows(const PackedCodes& codes, const PackedWeights& weights, int begin, int end, SquareMatrix& M,
                     const FillSums& sums, KernelChoice choice) {
#ifdef EARLYLATE_WIDE_KERNELS
    if (choice == KernelChoice::Best && wideKernels()) {
        std::vector<std::uint64_t> tailWords(static_cast<std::size_t>(codes.planes) * kBlockCells, 0);  // see wideTail
        for (int i = begin; i < end; ++i) wideRow(codes, weights, i, M, sums, tailWords.data());
        return;
    }
#endif
    (void)choice;
    for (int i = begin; i < end; ++i) portableRow(codes, weights, i, M, sums);
}

}  // namespace el::engine
