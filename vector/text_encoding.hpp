#pragma once
// Source texts in UTF-8 (with or without a byte order mark) or another encoding such as
// CP932, turned into the UTF-8 the tool works in, and back again for the write-back.

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "base/text_convert.hpp"
#include "vector/vector_data.hpp"

namespace el::vec {

// The encoding choice that takes UTF-8 when the bytes are UTF-8, else what the detector
// names (vector/encoding_guess.hpp).
inline constexpr std::string_view kAutoEncoding = "auto";

bool isValidUtf8(std::string_view bytes);

// True for "auto" and for every encoding name the system can convert from and to.
bool encodingKnown(const std::string& name);

struct DecodedText {
    std::string utf8;       // without the byte order mark
    TextEncoding encoding;  // what the bytes were
};

// Decodes a whole source file. `choice` is "auto" (UTF-8 when the bytes are valid UTF-8,
// else the first of encodingCandidates that decodes them) or an encoding name. Returns the
// message text when the bytes cannot be decoded or hold a NUL byte (not a text file).
std::variant<DecodedText, std::string> decodeSource(std::string_view bytes, const std::string& choice);

// `bytes` converted from `encoding` to UTF-8; nothing when they are not text in it or the
// system cannot convert from it.
std::optional<std::string> decodedAs(const std::string& encoding, std::string_view bytes);

// What the user is told of a file the automatic choice did not read as UTF-8, e.g.
// "read data.csv as WINDOWS-1252 (not UTF-8)"; nothing for UTF-8 or a named encoding.
std::optional<std::string> encodingNotice(const std::string& fileName, const TextEncoding& encoding);

// Encodes UTF-8 texts into one encoding, keeping its state between calls (so an encoding
// that begins with a byte order mark writes it once).
class TextEncoder {
public:
    explicit TextEncoder(const std::string& encoding);
    ~TextEncoder();
    TextEncoder(const TextEncoder&) = delete;
    TextEncoder& operator=(const TextEncoder&) = delete;

    // False when the system cannot encode into this encoding.
    bool usable() const { return identity_ || converter_.usable(); }

    // Appends the encoded `utf8` to `out`; on failure returns false and names the
    // character that the encoding cannot hold in `problem`.
    bool encode(std::string_view utf8, std::string& out, std::string& problem);

private:
    std::string name_;
    bool identity_ = false;
    TextConverter converter_;
};

}  // namespace el::vec
