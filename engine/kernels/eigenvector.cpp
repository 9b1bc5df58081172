#include "engine/kernels/eigenvector.hpp"

#include <cmath>
#include <cstddef>
#include <utility>

#include "engine/kernels/wide_kernels.hpp"


namespace el::engine {
namespace {

constexpr int kMaxIterations = 1000000;
constexpr double kConvergence = 1e-7;

// u(i) := row i times v for rows i = from..n-1. Four rows at a time share each load of v(j)
// and keep four independent sums in flight; every row still adds its products in the
// order j = 0..n-1.
void multiplyRows(const SquareMatrix& matrix, const double* v, double* u, int from) {
    const int n = matrix.size();
    int i = from;
    for (; i + 4 <= n; i += 4) {
        const double* r0 = matrix.row(i);
        const double* r1 = matrix.row(i + 1);
        const double* r2 = matrix.row(i + 2);
        const double* r3 = matrix.row(i + 3);
        double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
        for (int j = 0; j < n; ++j) {
            const double x = v[j];
            s0 += r0[j] * x;
            s1 += r1[j] * x;
            s2 += r2[j] * x;
            s3 += r3[j] * x;
        }
        u[i] = s0;
        u[i + 1] = s1;
        u[i + 2] = s2;
        u[i + 3] = s3;
    }
    for (; i < n; ++i) {
        const double* row = matrix.row(i);
        double sum = 0;
        for (int j = 0; j < n; ++j) sum += row[j] * v[j];
        u[i] = sum;
    }
}

#ifdef EARLYLATE_WIDE_KERNELS
// Eight rows by eight columns turned around, so that vector k holds column k of the eight rows.
EARLYLATE_WIDE void transpose8(__m512d r[8]) {
    __m512d t[8];
#pragma GCC unroll 8
    for (int k = 0; k < 8; k += 2) {
        t[k] = _mm512_maskz_unpacklo_pd(kAllLanes, r[k], r[k + 1]);
        t[k + 1] = _mm512_maskz_unpackhi_pd(kAllLanes, r[k], r[k + 1]);
    }
    const __m512i low = _mm512_set_epi64(13, 12, 5, 4, 9, 8, 1, 0);
    const __m512i high = _mm512_set_epi64(15, 14, 7, 6, 11, 10, 3, 2);
    __m512d q[8];
#pragma GCC unroll 8
    for (int k = 0; k < 8; k += 4) {
        q[k] = _mm512_permutex2var_pd(t[k], low, t[k + 2]);
        q[k + 1] = _mm512_permutex2var_pd(t[k], high, t[k + 2]);
        q[k + 2] = _mm512_permutex2var_pd(t[k + 1], low, t[k + 3]);
        q[k + 3] = _mm512_permutex2var_pd(t[k + 1], high, t[k + 3]);
    }
    const __m512i front = _mm512_set_epi64(11, 10, 9, 8, 3, 2, 1, 0);
    const __m512i back = _mm512_set_epi64(15, 14, 13, 12, 7, 6, 5, 4);
    // q[0]: columns 0 and 4 of rows 0-3, q[1]: 2 and 6, q[2]: 1 and 5, q[3]: 3 and 7; q[4..7] the same of rows 4-7.
    const int column[4][2] = {{0, 4}, {2, 6}, {1, 5}, {3, 7}};
#pragma GCC unroll 8
    for (int k = 0; k < 4; ++k) {
        r[column[k][0]] = _mm512_permutex2var_pd(q[k], front, q[k + 4]);
        r[column[k][1]] = _mm512_permutex2var_pd(q[k], back, q[k + 4]);
    }
}

// sum(lane k) += row k's products of columns j..j+7, in column order; row k starts at rows[k].
EARLYLATE_WIDE inline __m512d addBlock(const double* const* rows, int j, const double* v, __m512d sum) {
    __m512d block[8];
#pragma GCC unroll 8
    for (int k = 0; k < 8; ++k) block[k] = _mm512_loadu_pd(rows[k] + j);
    transpose8(block);
#pragma GCC unroll 8
    for (int k = 0; k < 8; ++k) sum = _mm512_add_pd(sum, _mm512_mul_pd(block[k], _mm512_set1_pd(v[j + k])));
    return sum;
}

// Finishes rows[0..7] from their lane sums with the columns from j on.
EARLYLATE_WIDE void finishRows(const double* const* rows, __m512d sum, int j, int n, const double* v, double* u) {
    alignas(64) double lane[8];
    _mm512_store_pd(lane, sum);
    for (int k = 0; k < 8; ++k) {
        double s = lane[k];
        for (int c = j; c < n; ++c) s += rows[k][c] * v[c];
        u[k] = s;
    }
}

// Eight rows per vector, one row per lane: each lane adds its row's products in the order
// j = 0..n-1, eight columns per block turned around so that a block is eight loads. Two
// such groups of rows go side by side, so that one's additions wait while the other's
// block turns. Returns the first row left for the portable loop.
EARLYLATE_WIDE int multiplyWide(const SquareMatrix& matrix, const double* v, double* u) {
    const int n = matrix.size();
    const double* rows[8];
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        for (int k = 0; k < 8; ++k) rows[k] = matrix.row(i + k);
        __m512d sum = _mm512_setzero_pd();
        int j = 0;
        for (; j + 8 <= n; j += 8) sum = addBlock(rows, j, v, sum);
        finishRows(rows, sum, j, n, v, u + i);
    }
    return i;
}
#endif

void multiply(const SquareMatrix& matrix, const double* v, double* u) {
    int from = 0;
#ifdef EARLYLATE_WIDE_KERNELS
    if (wideKernels()) from = multiplyWide(matrix, v, u);
#endif
    multiplyRows(matrix, v, u, from);
}

// The product with the start vector (1, 0, ..., 0) of a matrix without infinities or NaNs:
// each row's sum is 0 + M(i, 0) and then only zeros, which change nothing.
void firstProduct(const SquareMatrix& matrix, double* u) {
    for (int i = 0; i < matrix.size(); ++i) u[i] = 0.0 + matrix(i, 0);
}

double euclideanLength(const std::vector<double>& v) {
    double sum = 0;
    for (double x : v) sum += x * x;
    return std::sqrt(sum);
}

}  // namespace

PowerIterationOutcome PowerIteration::eigenvector(const SquareMatrix& matrix, std::vector<double>& vector,
                                                  Feedback& feedback, bool finite) {
    feedback.checkpoint();
    PowerIterationOutcome outcome;
    const int n = matrix.size();
    const auto size = static_cast<std::size_t>(n);
    vector.assign(size, 0.0);
    scratch_.assign(size, 0.0);
    if (n == 0) return outcome;
    vector[0] = 1.0;

    outcome.converged = false;
    for (int iteration = 1; iteration <= kMaxIterations; ++iteration) {
        outcome.iterations = iteration;
        double* u = scratch_.data();
        const double* v = vector.data();
        if (iteration == 1 && finite) firstProduct(matrix, u);
        else multiply(matrix, v, u);
        const double length = euclideanLength(scratch_);
        // A zero or broken product cannot be normalised; keep the last good iterate.
        if (!(length > 0) || !std::isfinite(length)) break;
        double change = 0;
        for (int i = 0; i < n; ++i) {
            u[i] /= length;
            change += std::fabs(u[i] - v[i]);
        }
        change /= n;
        std::swap(vector, scratch_);  // vector := u without copying
        if (change < kConvergence) {
            outcome.converged = true;
            break;
        }
    }

    const double length = euclideanLength(vector);
    if (length > 0)
        for (double& x : vector) x /= length;
    return outcome;
}

}  // namespace el::engine
