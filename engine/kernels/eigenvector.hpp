#pragma once
// The principal eigenvector of a positive matrix by power iteration: start (1, 0, ..., 0),
// multiply, normalise to Euclidean length 1, stop when the mean absolute change is below
// 1e-7 (at most 1,000,000 iterations), normalise once more. Used for the region score and
// for every fluctuation trial, so it keeps its scratch vector between calls.

#include <vector>

#include "base/feedback.hpp"
#include "engine/kernels/square_matrix.hpp"

namespace el::engine {

class PowerIteration {
public:
    // Writes the eigenvector of `matrix` into `vector` (resized to n). Yields once. When the
    // caller knows every cell to be finite, the first product (with the start vector) is
    // read off the first column instead of being multiplied out; the numbers are the same.
    void eigenvector(const SquareMatrix& matrix, std::vector<double>& vector, Feedback& feedback,
                     bool finite = false);

    // The matrix-vector products the last call made (0 before any call and for n = 0).
    int lastIterations() const { return lastIterations_; }

private:
    std::vector<double> scratch_;
    int lastIterations_ = 0;
};

}  // namespace el::engine
