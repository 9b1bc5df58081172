#include "figures/checksums.hpp"

#include <array>

namespace el::figures {
namespace {

constexpr std::array<std::uint32_t, 256> makeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1u) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

constexpr auto kCrcTable = makeCrcTable();

}  // namespace

std::uint32_t crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc) {
    crc = ~crc;
    for (std::uint8_t b : bytes) crc = kCrcTable[(crc ^ b) & 0xFFu] ^ (crc >> 8);
    return ~crc;
}

std::uint32_t adler32(std::span<const std::uint8_t> bytes, std::uint32_t adler) {
    constexpr std::uint32_t kBase = 65521;
    std::uint32_t a = adler & 0xFFFFu, b = adler >> 16;
    // 5552 bytes is the longest run whose sums cannot overflow 32 bits before the reduction.
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t end = std::min(bytes.size(), i + 5552);
        for (; i < end; ++i) {
            a += bytes[i];
            b += a;
        }
        a %= kBase;
        b %= kBase;
    }
    return (b << 16) | a;
}

}  // namespace el::figures
