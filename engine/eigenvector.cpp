#include "engine/eigenvector.hpp"

#include <cmath>
#include <cstddef>
#include <utility>

namespace el::engine {
namespace {

constexpr int kMaxIterations = 1000000;
constexpr double kConvergence = 1e-7;

// u := matrix * v. Four rows at a time share each load of v(j) and keep four independent
// sums in flight; every row still adds its products in the order j = 0..n-1.
void multiply(const SquareMatrix& matrix, const double* v, double* u) {
    const int n = matrix.size();
    int i = 0;
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

double euclideanLength(const std::vector<double>& v) {
    double sum = 0;
    for (double x : v) sum += x * x;
    return std::sqrt(sum);
}

}  // namespace

void PowerIteration::eigenvector(const SquareMatrix& matrix, std::vector<double>& vector, Feedback& feedback) {
    feedback.checkpoint();
    lastIterations_ = 0;
    const int n = matrix.size();
    const auto size = static_cast<std::size_t>(n);
    vector.assign(size, 0.0);
    scratch_.assign(size, 0.0);
    if (n == 0) return;
    vector[0] = 1.0;

    for (int iteration = 1; iteration <= kMaxIterations; ++iteration) {
        lastIterations_ = iteration;
        double* u = scratch_.data();
        const double* v = vector.data();
        multiply(matrix, v, u);
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
        if (change < kConvergence) break;
    }

    const double length = euclideanLength(vector);
    if (length > 0)
        for (double& x : vector) x /= length;
}

}  // namespace el::engine
