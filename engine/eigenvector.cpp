#include "engine/eigenvector.hpp"

#include <cmath>
#include <cstddef>
#include <utility>

namespace el::engine {
namespace {

constexpr int kMaxIterations = 1000000;
constexpr double kConvergence = 1e-7;

double euclideanLength(const std::vector<double>& v) {
    double sum = 0;
    for (double x : v) sum += x * x;
    return std::sqrt(sum);
}

}  // namespace

void PowerIteration::eigenvector(const SquareMatrix& matrix, std::vector<double>& vector, Host& host) {
    host.yield();
    const int n = matrix.size();
    const auto size = static_cast<std::size_t>(n);
    vector.assign(size, 0.0);
    scratch_.assign(size, 0.0);
    if (n == 0) return;
    vector[0] = 1.0;

    for (int iteration = 1; iteration <= kMaxIterations; ++iteration) {
        double* u = scratch_.data();
        const double* v = vector.data();
        for (int i = 0; i < n; ++i) {
            const double* row = matrix.row(i);
            double sum = 0;
            for (int j = 0; j < n; ++j) sum += row[j] * v[j];
            u[i] = sum;
        }
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
