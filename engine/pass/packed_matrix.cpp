#include "engine/pass/packed_matrix.hpp"

#include <bit>
#include <cstdint>
#include <vector>

#include "base/work_pool.hpp"

namespace el::engine {
namespace {

// The sum of the known cells in row-major order, as the plain fill adds them.
double knownTotal(const SquareMatrix& M, const ConnectionBits& links) {
    double total = 0;
    for (int i = 0; i < M.size(); ++i) {
        const double* row = M.row(i);
        for (int j = 0; j < M.size(); ++j)
            if (links.at(i, j)) total += row[j];
    }
    return total;
}

// Sets every missing cell of row i (A = 0) to `fill`.
void fillRow(SquareMatrix& M, const ConnectionBits& links, int i, double fill) {
    double* row = M.row(i);
    const std::uint64_t* bits = links.row(i);
    const int n = M.size();
    for (std::size_t w = 0; w < links.words(); ++w) {
        const int base = static_cast<int>(w * 64);
        std::uint64_t missing = ~bits[w];
        if (n - base < 64) missing &= (std::uint64_t{1} << (n - base)) - 1;
        for (; missing != 0; missing &= missing - 1) row[base + std::countr_zero(missing)] = fill;
    }
}

}  // namespace

void filledMatrix(const PassFrame& frame, const PackedWeights& weights, FillMode mode, int threads, SquareMatrix& M) {
    const PackedCodes& codes = *frame.codes;
    const int n = codes.regions;
    M.resize(n);
    const bool anyMissing = frame.known < static_cast<long long>(n) * n;
    // The matrix total is one running sum through every row in order: it rides along when
    // one thread builds the rows in order, and is added up afterwards otherwise.
    const bool matrixTotal = mode == FillMode::MatrixAverage && anyMissing;
    double total = 0;
    std::vector<double> rowTotal(mode == FillMode::RowAverage ? static_cast<std::size_t>(n) : 0, 0.0);
    double* rows = rowTotal.empty() ? nullptr : rowTotal.data();
    if (threads <= 1) {
        buildPackedRows(codes, weights, 0, n, M, {matrixTotal ? &total : nullptr, rows});
    } else {
        forRanges(threads, static_cast<std::size_t>(n), [&](std::size_t begin, std::size_t end) {
            buildPackedRows(codes, weights, static_cast<int>(begin), static_cast<int>(end), M, {nullptr, rows});
        });
        if (matrixTotal) total = knownTotal(M, frame.links);
    }
    if (!anyMissing) return;

    bool haveTotal = matrixTotal;
    for (int i = 0; i < n; ++i) {
        const int rowKnown = frame.rowKnown[static_cast<std::size_t>(i)];
        if (rowKnown == n) continue;
        const bool rowFill = mode == FillMode::RowAverage && rowKnown > 0;
        if (!rowFill && !haveTotal) {  // a row without known cells falls back on the matrix average
            total = knownTotal(M, frame.links);
            haveTotal = true;
        }
        const double matrixAverage = frame.known > 0 ? total / static_cast<double>(frame.known) : 0;
        fillRow(M, frame.links, i, rowFill ? rowTotal[static_cast<std::size_t>(i)] / rowKnown : matrixAverage);
    }
}

}  // namespace el::engine
