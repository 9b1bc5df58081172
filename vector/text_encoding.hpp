#pragma once
// Source texts in UTF-8 (with or without a byte order mark) or another encoding such as
// CP932, turned into the UTF-8 the tool works in, and back again for the write-back.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "base/encoding_name.hpp"
#include "base/text_convert.hpp"
#include "vector/vector_data.hpp"

namespace el::vec {

// The encoding choice "auto" and the names the system converts (base/encoding_name.hpp).
using el::encodingKnown;
using el::isUtf8Name;
using el::kAutoEncoding;

bool isValidUtf8(std::string_view bytes);

struct DecodedText {
    std::string utf8;       // without the byte order mark
    TextEncoding encoding;  // what the bytes were
    std::int64_t otherLines = 0;  // of a UTF-8 text, the lines read in another encoding
    std::string otherEncoding{};  // which one
};

// Decodes a whole source file. `choice` is "auto" (UTF-8 when the bytes are valid UTF-8,
// else the first of encodingCandidates that decodes them) or an encoding name. Returns the
// message text when the bytes cannot be decoded or hold a NUL byte (not a text file).
std::variant<DecodedText, std::string> decodeSource(std::string_view bytes, const std::string& choice);

// As decodeSource, but a text that is UTF-8 except for some lines (as one made by pasting
// together files of two encodings) is read line by line under "auto": the UTF-8 lines as they
// are, the others in the encoding their bytes suggest. The text then counts as UTF-8 and the
// DecodedText says how many lines were read in which other encoding.
std::variant<DecodedText, std::string> decodeTableText(std::string_view bytes, const std::string& choice);

// `bytes` converted from `encoding` to UTF-8; nothing when they are not text in it or the
// system cannot convert from it.
std::optional<std::string> decodedAs(const std::string& encoding, std::string_view bytes);

// What the user is told of a file the automatic choice did not read as UTF-8, e.g.
// "read data.csv as WINDOWS-1252 (not UTF-8)"; nothing for UTF-8 or a named encoding.
std::optional<std::string> encodingNotice(const std::string& fileName, const TextEncoding& encoding);

// Decodes pieces of text (lines, say) from one encoding to UTF-8 with one converter, each
// piece on its own.
class TextDecoder {
public:
    explicit TextDecoder(const std::string& encoding);
    ~TextDecoder();
    TextDecoder(const TextDecoder&) = delete;
    TextDecoder& operator=(const TextDecoder&) = delete;

    // False when the system cannot decode from this encoding.
    bool usable() const { return identity_ || converter_.usable(); }
    const std::string& name() const { return name_; }

    // `bytes` as UTF-8 into `out` (replacing it); false when they are not text in the encoding.
    bool decode(std::string_view bytes, std::string& out);

private:
    std::string name_;
    bool identity_ = false;
    TextConverter converter_;
};

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
