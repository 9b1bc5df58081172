#pragma once
// The connection matrix of the connectivity test, A(i, j) = 1 where some weighted species
// relates regions i and j, as one bit set per row.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/kernels/packed_codes.hpp"
#include "engine/kernels/square_matrix.hpp"

namespace el::engine {

class ConnectionBits {
public:
    ConnectionBits() = default;
    // A(i, j) = [W(i, j) > 0].
    explicit ConnectionBits(const SquareMatrix& W);
    // A(i, j) = [a species of `mask` (see speciesMask) relates i and j]; rows cut between threads.
    ConnectionBits(const PackedCodes& codes, const std::vector<std::uint64_t>& mask, int threads);

    int size() const { return n_; }
    std::size_t words() const { return words_; }
    bool at(int i, int j) const { return (row(i)[static_cast<std::size_t>(j) >> 6] >> (j & 63)) & 1u; }
    const std::uint64_t* row(int i) const { return bits_.data() + words_ * static_cast<std::size_t>(i); }
    // How many cells of row i are 1.
    int rowCount(int i) const;

    // next := the regions with a neighbour in `reached`; returns how many there are. The
    // matrix is symmetric, so row i also lists the regions that reach i. Only the words of
    // `reached` that hold a region are looked at, and a row's search stops at its first
    // reached neighbour.
    int step(const std::vector<std::uint64_t>& reached, std::vector<std::uint64_t>& next) const;

private:
    std::uint64_t* rowOf(int i) { return bits_.data() + words_ * static_cast<std::size_t>(i); }

    int n_ = 0;
    std::size_t words_ = 0;
    std::vector<std::uint64_t> bits_;
};

}  // namespace el::engine
