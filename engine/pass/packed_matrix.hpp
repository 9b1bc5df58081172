#pragma once
// The filled early-late matrix of one power pass from a frame's packed codes: built row by
// row with the sums its missing cells need, then those cells (known from the connection
// matrix) set to the matrix or row average. The numbers are those of the plain build and
// fill, bit for bit, for any thread count.

#include "engine/kernels/early_late_rows.hpp"
#include "engine/pass/pass_frames.hpp"
#include "engine/kernels/relations.hpp"
#include "engine/kernels/square_matrix.hpp"

namespace el::engine {

// M := the filled matrix of the frame's regions; M's storage is reused when it has room.
// The rows are cut between `threads` threads.
void filledMatrix(const PassFrame& frame, const PackedWeights& weights, FillMode mode, int threads, SquareMatrix& M);

}  // namespace el::engine
