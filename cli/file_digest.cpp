#include "cli/file_digest.hpp"

#include <array>
#include <fstream>

#include <nettle/sha2.h>

namespace el::batch {

std::optional<std::string> sha256OfFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    sha256_ctx context;
    sha256_init(&context);
    std::array<char, 65536> buffer;
    while (in) {
        in.read(buffer.data(), buffer.size());
        const auto got = in.gcount();
        if (got > 0) sha256_update(&context, static_cast<std::size_t>(got), reinterpret_cast<const std::uint8_t*>(buffer.data()));
    }
    if (in.bad()) return std::nullopt;
    std::array<std::uint8_t, SHA256_DIGEST_SIZE> digest;
    sha256_digest(&context, digest.size(), digest.data());
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    for (std::uint8_t byte : digest) {
        text += kHex[byte >> 4];
        text += kHex[byte & 15];
    }
    return text;
}

}  // namespace el::batch
