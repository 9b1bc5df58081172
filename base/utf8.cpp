#include "base/utf8.hpp"

namespace el {

std::size_t utf8SequenceLength(std::string_view text) {
    if (text.empty()) return 0;
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char c = byte(0);
    if (c < 0x80) return 1;
    std::size_t n = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) n = 2;
    else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) lo = 0xA0;       // no overlong forms
        else if (c == 0xED) hi = 0x9F;  // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) lo = 0x90;
        else if (c == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (text.size() < n) return 0;
    if (byte(1) < lo || byte(1) > hi) return 0;
    for (std::size_t k = 2; k < n; ++k)
        if (byte(k) < 0x80 || byte(k) > 0xBF) return 0;
    return n;
}

std::size_t utf8ValidPrefix(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t n = utf8SequenceLength(text.substr(at));
        if (n == 0) break;
        at += n;
    }
    return at;
}

std::vector<char32_t> utf8CodePoints(std::string_view text) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t n = utf8SequenceLength(text.substr(i));
        if (n <= 1) {  // ASCII, or a byte that starts no sequence
            out.push_back(lead);
            ++i;
            continue;
        }
        auto c = static_cast<char32_t>(lead & (0x7Fu >> n));
        for (std::size_t k = 1; k < n; ++k)
            c = (c << 6) | static_cast<char32_t>(static_cast<unsigned char>(text[i + k]) & 0x3Fu);
        out.push_back(c);
        i += n;
    }
    return out;
}

}  // namespace el
