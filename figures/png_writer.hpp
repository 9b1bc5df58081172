#pragma once
// A minimal PNG encoder: 8-bit RGB, no filtering, the image data in zlib stored
// (uncompressed) blocks. Larger than a compressed file, but needs no library.

#include <cstdint>
#include <vector>

#include "figures/raster_image.hpp"

namespace el::figures {

std::vector<std::uint8_t> encodePng(const RasterImage& image);

// The zlib stream of `data` in stored blocks (RFC 1950/1951), with its Adler-32.
std::vector<std::uint8_t> zlibStored(const std::vector<std::uint8_t>& data);

}  // namespace el::figures
