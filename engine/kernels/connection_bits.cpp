#include "engine/kernels/connection_bits.hpp"

#include <algorithm>
#include <bit>

#include "base/work_pool.hpp"

namespace el::engine {

ConnectionBits::ConnectionBits(const SquareMatrix& W)
    : n_(W.size()), words_((static_cast<std::size_t>(n_) + 63) / 64), bits_(words_ * static_cast<std::size_t>(n_), 0) {
    for (int i = 0; i < n_; ++i) {
        const double* row = W.row(i);
        std::uint64_t* out = rowOf(i);
        for (int j = 0; j < n_; ++j)
            if (row[j] > 0) out[j >> 6] |= std::uint64_t{1} << (j & 63);
    }
}

ConnectionBits::ConnectionBits(const PackedCodes& codes, const std::vector<std::uint64_t>& mask, int threads)
    : n_(codes.regions),
      words_((static_cast<std::size_t>(n_) + 63) / 64),
      bits_(words_ * static_cast<std::size_t>(n_), 0) {
    forRanges(threads, static_cast<std::size_t>(n_), [&](std::size_t begin, std::size_t end) {
        for (auto i = static_cast<int>(begin); i < static_cast<int>(end); ++i) {
            std::uint64_t* out = rowOf(i);
            for (int j = 0; j < n_; ++j) {
                std::uint64_t related = 0;
                for (int k = 0; k < codes.planes; ++k) {
                    const std::uint64_t word = codes.row(i, k)[j];
                    related |= (word | word >> 1) & mask[static_cast<std::size_t>(k)];
                }
                out[j >> 6] |= static_cast<std::uint64_t>(related != 0) << (j & 63);
            }
        }
    });
}

int ConnectionBits::rowCount(int i) const {
    int count = 0;
    for (std::size_t w = 0; w < words_; ++w) count += std::popcount(row(i)[w]);
    return count;
}

int ConnectionBits::step(const std::vector<std::uint64_t>& reached, std::vector<std::uint64_t>& next) const {
    std::vector<std::size_t> occupied;
    for (std::size_t w = 0; w < words_; ++w)
        if (reached[w] != 0) occupied.push_back(w);
    std::fill(next.begin(), next.end(), 0);
    int count = 0;
    for (int i = 0; i < n_; ++i) {
        const std::uint64_t* r = row(i);
        for (std::size_t w : occupied)
            if (r[w] & reached[w]) {
                next[static_cast<std::size_t>(i) >> 6] |= std::uint64_t{1} << (i & 63);
                ++count;
                break;
            }
    }
    return count;
}

}  // namespace el::engine
