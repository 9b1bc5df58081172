#include "vector/text_encoding.hpp"

#include <cctype>
#include <optional>
#include <vector>

#include "base/utf8.hpp"
#include "vector/encoding_guess.hpp"

namespace el::vec {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// 1-based line of the byte at `offset`; CR LF, LF and CR each end a line.
int lineAt(std::string_view text, std::size_t offset) {
    int line = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n') ++line;
        else if (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')) ++line;
    }
    return line;
}

std::optional<std::size_t> firstNul(std::string_view text) {
    const std::size_t at = text.find('\0');
    if (at == std::string_view::npos) return std::nullopt;
    return at;
}

std::string lineText(int line) { return std::to_string(line); }

std::optional<std::string> decodeWith(const char* encoding, std::string_view bytes, std::size_t& failedAt) {
    TextConverter converter(encoding, TextConverter::Direction::ToUtf8);
    if (!converter.usable()) return std::nullopt;
    std::string text;
    if (!converter.convert(bytes, true, text, failedAt)) return std::nullopt;
    return text;
}

// The refusal of bytes that were to be UTF-8, naming the line of the first fault.
std::string notUtf8(std::string_view body) {
    return "The file is not UTF-8 text (line " + lineText(lineAt(body, utf8ValidPrefix(body))) + ")";
}

// Bytes that are not UTF-8 in the first of the likely encodings that decodes them.
std::variant<DecodedText, std::string> decodeGuessed(std::string_view bytes) {
    const std::vector<std::string> candidates = encodingCandidates(bytes);
    std::size_t failedAt = 0;
    for (const std::string& name : candidates)
        if (auto text = decodeWith(name.c_str(), bytes, failedAt))
            return DecodedText{std::move(*text), TextEncoding{name, false, true}};
    std::string names;
    for (std::size_t k = 0; k < candidates.size(); ++k)
        names += (k == 0 ? "" : k + 1 == candidates.size() ? " nor " : ", ") + candidates[k];
    return "The file is neither UTF-8 nor " + names + " text (line " + lineText(lineAt(bytes, failedAt)) +
           "); name its encoding";
}

std::variant<DecodedText, std::string> decodeNamed(std::string_view bytes, const std::string& choice) {
    if (!encodingKnown(choice)) return "Unknown text encoding: " + choice;
    std::size_t failedAt = 0;
    auto text = decodeWith(choice.c_str(), bytes, failedAt);
    if (!text) return "The file is not " + choice + " text (line " + lineText(lineAt(bytes, failedAt)) + ")";
    return DecodedText{std::move(*text), TextEncoding{choice, false, false}};
}

}  // namespace

bool isValidUtf8(std::string_view bytes) { return utf8ValidPrefix(bytes) == bytes.size(); }

std::optional<std::string> decodedAs(const std::string& encoding, std::string_view bytes) {
    std::size_t failedAt = 0;
    return decodeWith(encoding.c_str(), bytes, failedAt);
}

std::optional<std::string> encodingNotice(const std::string& fileName, const TextEncoding& encoding) {
    if (!encoding.guessed) return std::nullopt;
    return "read " + fileName + " as " + encoding.name + " (not UTF-8)";
}

std::variant<DecodedText, std::string> decodeSource(std::string_view bytes, const std::string& choice) {
    const bool automatic = choice == kAutoEncoding || choice.empty();
    std::variant<DecodedText, std::string> result;
    if (automatic || isUtf8Name(choice)) {
        const bool bom = bytes.starts_with(kUtf8Bom);
        std::string_view body = bom ? bytes.substr(kUtf8Bom.size()) : bytes;
        if (isValidUtf8(body)) result = DecodedText{std::string(body), TextEncoding{"UTF-8", bom, false}};
        else if (!automatic || bom) result = notUtf8(body);  // a byte order mark promises UTF-8
        else result = decodeGuessed(bytes);
    } else {
        result = decodeNamed(bytes, choice);
    }
    if (const auto* decoded = std::get_if<DecodedText>(&result))
        if (const auto nul = firstNul(decoded->utf8))
            return "The file holds a NUL byte in line " + lineText(lineAt(decoded->utf8, *nul)) +
                   ", so it is not a text file";
    return result;
}

TextDecoder::TextDecoder(const std::string& encoding)
    : name_(encoding),
      identity_(isUtf8Name(encoding)),
      converter_(identity_ ? std::string("UTF-8") : encoding, TextConverter::Direction::ToUtf8) {}

TextDecoder::~TextDecoder() = default;

bool TextDecoder::decode(std::string_view bytes, std::string& out) {
    out.clear();
    if (identity_) {
        if (!isValidUtf8(bytes)) return false;
        out.assign(bytes);
        return true;
    }
    if (!converter_.usable()) return false;
    std::size_t failedAt = 0;
    return converter_.convert(bytes, true, out, failedAt);
}

TextEncoder::TextEncoder(const std::string& encoding)
    : name_(encoding),
      identity_(isUtf8Name(encoding)),
      converter_(identity_ ? std::string("UTF-8") : encoding, TextConverter::Direction::FromUtf8) {}

TextEncoder::~TextEncoder() = default;

bool TextEncoder::encode(std::string_view utf8, std::string& out, std::string& problem) {
    if (identity_) {
        out += utf8;
        return true;
    }
    if (!converter_.usable()) {
        problem = "the encoding " + name_ + " is not available";
        return false;
    }
    std::size_t failedAt = 0;
    if (converter_.convert(utf8, false, out, failedAt)) return true;
    const std::size_t n = utf8SequenceLength(utf8.substr(failedAt));
    problem =
        "the character \"" + std::string(utf8.substr(failedAt, n == 0 ? 1 : n)) + "\" cannot be written in " + name_;
    return false;
}

}  // namespace el::vec
