#include "vector/encoding_guess.hpp"

#ifdef EARLYLATE_HAVE_UCHARDET
#include <uchardet.h>
#endif

#include <algorithm>
#include <cctype>
#include <memory>

#include "base/utf8.hpp"
#include "vector/text_encoding.hpp"

namespace el::vec {
namespace {

constexpr const char* kJapaneseDefault = "CP932";
constexpr std::size_t kSampleBytes = std::size_t{1} << 20;  // what the guess looks at, at most

// The lines that hold a byte beyond ASCII (the only ones that tell encodings apart), up to
// about a megabyte of them. Lines are cut at line feeds, never inside a character: no
// encoding the guess considers uses the byte 0x0A inside one.
std::string sampleOf(std::string_view bytes) {
    std::string sample;
    for (std::size_t at = 0; at < bytes.size() && sample.size() < kSampleBytes;) {
        std::size_t end = bytes.find('\n', at);
        end = end == std::string_view::npos ? bytes.size() : end + 1;
        const std::string_view line = bytes.substr(at, end - at);
        if (std::any_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
            sample += line;
        at = end;
    }
    return sample;
}

#ifdef EARLYLATE_HAVE_UCHARDET
struct DetectorDeleter {
    void operator()(uchardet* detector) const { uchardet_delete(detector); }
};
#endif

[[maybe_unused]] std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool asciiLetter(char32_t c) { return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z'); }

// True when the text beyond ASCII reads as Japanese: no half-width katakana and nothing of
// the user-defined area (where single Western letters and pairs of them land in CP932), and
// no such character touching an ASCII letter (as "R駱ublique" does).
bool looksJapanese(std::string_view utf8) {
    const std::vector<char32_t> text = utf8CodePoints(utf8);
    bool japanese = false;
    for (std::size_t k = 0; k < text.size(); ++k) {
        const char32_t c = text[k];
        if (c < 0x80) continue;
        if ((c >= 0xFF61 && c <= 0xFF9F) || (c >= 0xE000 && c <= 0xF8FF)) return false;
        if ((k > 0 && asciiLetter(text[k - 1])) || (k + 1 < text.size() && asciiLetter(text[k + 1]))) return false;
        japanese = true;
    }
    return japanese;
}

// True when the bytes read as CP932 without a fault and then hold a Japanese status keyword
// or look Japanese throughout.
bool readsAsJapanese(std::string_view bytes) {
    const auto text = decodedAs(kJapaneseDefault, bytes);
    if (!text) return false;
    if (text->find("分布") != std::string::npos || text->find("不明") != std::string::npos) return true;
    return looksJapanese(*text);
}

void addOnce(std::vector<std::string>& list, const std::string& name) {
    if (std::find(list.begin(), list.end(), name) == list.end()) list.push_back(name);
}

}  // namespace

std::string detectorEncoding(std::string_view bytes) {
#ifndef EARLYLATE_HAVE_UCHARDET
    // Built without the detector (an R build where uchardet is missing): nothing is named,
    // and "auto" reads UTF-8, else CP932.
    static_cast<void>(bytes);
    return "";
#else
    const std::unique_ptr<uchardet, DetectorDeleter> detector(uchardet_new());
    if (!detector) return "";
    if (uchardet_handle_data(detector.get(), bytes.data(), bytes.size()) != 0) return "";
    uchardet_data_end(detector.get());
    const char* name = uchardet_get_charset(detector.get());
    return name == nullptr ? "" : upper(name);
#endif
}

std::vector<std::string> encodingCandidates(std::string_view bytes) {
    const std::string sample = sampleOf(bytes);
    const std::string detected = detectorEncoding(sample);
    std::vector<std::string> candidates;
    // The bytes are read through as CP932 only when the detector did not name it already.
    if (detected != "SHIFT_JIS" && readsAsJapanese(sample)) candidates.emplace_back(kJapaneseDefault);
    if (detected == "ISO-8859-1") {
        addOnce(candidates, "WINDOWS-1252");
        addOnce(candidates, detected);
    } else if (!detected.empty() && detected != "SHIFT_JIS" && detected != "ASCII" && detected != "UTF-8" &&
               encodingKnown(detected)) {
        addOnce(candidates, detected);
    }
    addOnce(candidates, kJapaneseDefault);
    return candidates;
}

}  // namespace el::vec
