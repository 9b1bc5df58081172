#pragma once
// The memory traffic of one examine-weight power pass: the packed codes read, the matrix
// written, and the matrix read once per product of the power iteration but the first (read
// off the first column); set against the machine's copy bandwidth it gives the time no pass
// can beat.

#include <cstddef>

#include "vector/vector_data.hpp"

namespace el::bench {

struct PassTraffic {
    double bytes = 0;       // per pass, averaged over a few passes across the grid
    double products = 0;    // power-iteration products per pass, likewise
};

// Computes a few passes of the data set (every variable a species, "Target" the target).
PassTraffic examineWeightTraffic(const vec::VectorData& data);

// The size of the copy that measures the copy bandwidth: 256 MiB.
inline constexpr std::size_t kCopyBytes = std::size_t{256} << 20;

// Bytes per second of a plain copy of kCopyBytes, its read and its write counted: the best of five.
double copyBandwidth();

}  // namespace el::bench
