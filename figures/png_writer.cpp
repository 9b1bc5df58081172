#include "figures/png_writer.hpp"

#include <algorithm>
#include <string_view>

#include "figures/checksums.hpp"

namespace el::figures {
namespace {

void putBig32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void putChunk(std::vector<std::uint8_t>& out, std::string_view type, const std::vector<std::uint8_t>& data) {
    putBig32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    putBig32(out, crc32(std::span<const std::uint8_t>(out).subspan(typeAt)));
}

}  // namespace

std::vector<std::uint8_t> zlibStored(const std::vector<std::uint8_t>& data) {
    constexpr std::size_t kMaxBlock = 65535;
    std::vector<std::uint8_t> out{0x78, 0x01};  // deflate, 32 KiB window, no dictionary, check bits
    std::size_t at = 0;
    do {
        const std::size_t len = std::min(kMaxBlock, data.size() - at);
        const bool last = at + len == data.size();
        out.push_back(last ? 1 : 0);  // BFINAL, BTYPE 00
        out.push_back(static_cast<std::uint8_t>(len & 0xFF));
        out.push_back(static_cast<std::uint8_t>(len >> 8));
        out.push_back(static_cast<std::uint8_t>(~len & 0xFF));
        out.push_back(static_cast<std::uint8_t>((~len >> 8) & 0xFF));
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                   data.begin() + static_cast<std::ptrdiff_t>(at + len));
        at += len;
    } while (at < data.size());
    putBig32(out, adler32(data));
    return out;
}

std::vector<std::uint8_t> encodePng(const RasterImage& image) {
    std::vector<std::uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

    std::vector<std::uint8_t> header;
    putBig32(header, static_cast<std::uint32_t>(image.width));
    putBig32(header, static_cast<std::uint32_t>(image.height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // depth 8, RGB, deflate, adaptive filters, no interlace
    putChunk(out, "IHDR", header);

    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 3;
    std::vector<std::uint8_t> raw;
    raw.reserve((rowBytes + 1) * image.height);
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0);  // filter type None
        const auto row = image.rgb.begin() + static_cast<std::ptrdiff_t>(rowBytes * y);
        raw.insert(raw.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
    }
    putChunk(out, "IDAT", zlibStored(raw));
    putChunk(out, "IEND", {});
    return out;
}

}  // namespace el::figures
