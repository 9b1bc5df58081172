#pragma once
// How a power iteration (engine/kernels/eigenvector.hpp) ended, as a run's result keeps it.

namespace el::engine {

// How one power iteration ended: whether the mean absolute change fell below 1e-7 within
// the iteration limit, and the matrix-vector products it made. An empty matrix has nothing
// to iterate and counts as settled; a product that cannot be normalised (all zero, or not
// finite) ends the iteration unsettled.
struct PowerIterationOutcome {
    bool converged = true;
    int iterations = 0;
};

}  // namespace el::engine
