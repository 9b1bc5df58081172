#pragma once
// The two checksums a PNG file carries: CRC-32 over each chunk and Adler-32 over the
// uncompressed zlib data.

#include <cstdint>
#include <span>

namespace el::figures {

// CRC-32 (ISO 3309, polynomial 0xEDB88320 reflected); `crc` continues an earlier call.
std::uint32_t crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);

// Adler-32 (RFC 1950); `adler` continues an earlier call, 1 to start.
std::uint32_t adler32(std::span<const std::uint8_t> bytes, std::uint32_t adler = 1);

}  // namespace el::figures
