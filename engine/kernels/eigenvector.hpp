#pragma once
// The principal eigenvector of a positive matrix by power iteration: start (1, 0, ..., 0),
// multiply, normalise to Euclidean length 1, stop when the mean absolute change is below
// 1e-7 (at most 1,000,000 iterations), normalise once more. Used for the region score and
// for every fluctuation trial, so it keeps its scratch vector between calls.

#include <vector>

#include "base/feedback.hpp"
#include "engine/kernels/square_matrix.hpp"
#include "engine/model/power_iteration_outcome.hpp"

namespace el::engine {

class PowerIteration {
public:
    // Writes the eigenvector of `matrix` into `vector` (resized to n) and tells how the
    // iteration ended; the vector is the last iterate, normalised, either way. Yields once.
    // When the caller knows every cell to be finite, the first product (with the start
    // vector) is read off the first column instead of being multiplied out; the numbers are
    // the same.
    PowerIterationOutcome eigenvector(const SquareMatrix& matrix, std::vector<double>& vector, Feedback& feedback,
                                      bool finite = false);

private:
    std::vector<double> scratch_;
};

}  // namespace el::engine
