// A table that is UTF-8 except for some lines, read line by line.

#include <array>

#include "base/file_bytes.hpp"
#include "base/text.hpp"
#include "vector/encoding_guess.hpp"
#include "vector/text_encoding.hpp"

namespace el::vec {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool beyondAscii(std::string_view line) {
    for (const char c : line)
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    return false;
}

// Encodings of several bytes per character, whose bytes may pass for UTF-8 by chance: a few
// lines of such a text that read as UTF-8 do not make it a UTF-8 text.
bool multiByte(const std::string& encoding) {
    constexpr std::array kPrefixes{"CP932", "SHIFT", "EUC", "GB", "BIG5", "CP936", "CP949", "CP950", "UHC", "ISO-2022"};
    const std::string name = asciiLower(encoding);
    for (const char* prefix : kPrefixes)
        if (name.starts_with(asciiLower(prefix))) return true;
    return false;
}

struct LineKinds {
    std::vector<std::string_view> lines;
    std::vector<bool> utf8;  // each line: valid UTF-8
    std::size_t utf8BeyondAscii = 0;
    std::string otherBytes;  // the lines that are not UTF-8, one after another
    std::size_t others = 0;
};

LineKinds kindsOf(std::string_view body) {
    LineKinds kinds;
    kinds.lines = linesOf(body);
    for (const std::string_view line : kinds.lines) {
        const bool valid = isValidUtf8(line);
        kinds.utf8.push_back(valid);
        if (valid) {
            kinds.utf8BeyondAscii += beyondAscii(line) ? 1U : 0U;
        } else {
            kinds.otherBytes.append(line).append("\n");
            ++kinds.others;
        }
    }
    return kinds;
}

// The first likely encoding in which every line that is not UTF-8 reads; "" for none.
std::string otherEncodingOf(const LineKinds& kinds) {
    for (const std::string& name : encodingCandidates(kinds.otherBytes))
        if (decodedAs(name, kinds.otherBytes)) return name;
    return "";
}

}  // namespace

std::variant<DecodedText, std::string> decodeTableText(std::string_view bytes, const std::string& choice) {
    if (choice != kAutoEncoding && !choice.empty()) return decodeSource(bytes, choice);
    const bool bom = bytes.starts_with(kUtf8Bom);
    const std::string_view body = bom ? bytes.substr(kUtf8Bom.size()) : bytes;
    if (isValidUtf8(body)) return decodeSource(bytes, choice);
    const LineKinds kinds = kindsOf(body);
    if (kinds.utf8BeyondAscii == 0) return decodeSource(bytes, choice);  // one encoding throughout
    const std::string other = otherEncodingOf(kinds);
    if (other.empty() || (multiByte(other) && kinds.utf8BeyondAscii <= kinds.others))
        return decodeSource(bytes, choice);
    TextDecoder decoder(other);
    DecodedText text{{}, TextEncoding{"UTF-8", bom, false}, static_cast<std::int64_t>(kinds.others), other};
    std::string decoded;
    for (std::size_t k = 0; k < kinds.lines.size(); ++k) {
        if (kinds.utf8[k]) {
            text.utf8.append(kinds.lines[k]);
        } else {
            decoder.decode(kinds.lines[k], decoded);
            text.utf8 += decoded;
        }
        text.utf8 += '\n';
    }
    if (text.utf8.find('\0') != std::string::npos)
        return decodeSource(bytes, choice);  // its refusal names the line of the NUL byte
    return text;
}

}  // namespace el::vec
