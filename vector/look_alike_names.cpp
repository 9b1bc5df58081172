#include "vector/look_alike_names.hpp"

#include <algorithm>
#include <unordered_map>

#include "base/utf8.hpp"

namespace el::vec {
namespace {

struct LookAlike {
    char32_t letter;
    const char* latin;  // UTF-8
};

// Greek and Cyrillic letters that a reader takes for Latin ones.
constexpr LookAlike kLookAlikes[] = {
    {0x391, "A"},        {0x392, "B"}, {0x395, "E"}, {0x396, "Z"}, {0x397, "H"},        {0x399, "I"}, {0x39A, "K"},
    {0x39C, "M"},        {0x39D, "N"}, {0x39F, "O"}, {0x3A1, "P"}, {0x3A4, "T"},        {0x3A5, "Y"}, {0x3A7, "X"},
    {0x3B1, "a"},        {0x3B9, "i"}, {0x3BA, "k"}, {0x3BD, "v"}, {0x3BF, "o"},        {0x3C1, "p"}, {0x3C5, "u"},
    {0x3C7, "x"},        {0x3F2, "c"}, {0x3F3, "j"}, {0x405, "S"}, {0x406, "I"},        {0x408, "J"}, {0x410, "A"},
    {0x412, "B"},        {0x415, "E"}, {0x41A, "K"}, {0x41C, "M"}, {0x41D, "H"},        {0x41E, "O"}, {0x420, "P"},
    {0x421, "C"},        {0x422, "T"}, {0x423, "Y"}, {0x425, "X"}, {0x430, "a"},        {0x435, "e"}, {0x43E, "o"},
    {0x440, "p"},        {0x441, "c"}, {0x443, "y"}, {0x445, "x"}, {0x451, "\xC3\xAB"}, {0x455, "s"}, {0x456, "i"},
    {0x457, "\xC3\xAF"}, {0x458, "j"}, {0x4AE, "Y"}, {0x4BB, "h"}, {0x4C0, "I"},        {0x4CF, "l"}, {0x501, "d"},
    {0x51A, "Q"},        {0x51B, "q"}, {0x51C, "W"}, {0x51D, "w"},
};

// One character of a UTF-8 text: its bytes and its code point (a byte that starts no
// well-formed sequence stands for itself).
struct Character {
    std::string_view bytes;
    char32_t code;
};

template <typename Visit>
void forEachCharacter(std::string_view text, const Visit& visit) {
    while (!text.empty()) {
        const std::size_t length = std::max<std::size_t>(utf8SequenceLength(text), 1);
        const std::string_view bytes = text.substr(0, length);
        char32_t code = static_cast<unsigned char>(bytes[0]);
        if (length > 1) {
            code &= 0x3Fu >> (length - 1);
            for (std::size_t k = 1; k < length; ++k)
                code = (code << 6) | (static_cast<unsigned char>(bytes[k]) & 0x3Fu);
        }
        visit(Character{bytes, code});
        text.remove_prefix(length);
    }
}

bool separates(char32_t c) {
    const bool asciiLetter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    return (c < 0x80 && !asciiLetter) || c == 0xA0 || (c >= 0x2000 && c <= 0x206F) || c == 0x3000;
}

struct WordScripts {
    std::string word;
    std::string firstForeign;  // the first Greek or Cyrillic letter
    Script foreign = Script::Other;
    bool latin = false;
};

std::vector<WordScripts> wordsOf(std::string_view name) {
    std::vector<WordScripts> words(1);
    forEachCharacter(name, [&](const Character& c) {
        if (separates(c.code)) {
            if (!words.back().word.empty()) words.emplace_back();
            return;
        }
        WordScripts& word = words.back();
        word.word += c.bytes;
        const Script script = scriptOf(c.code);
        if (script == Script::Latin) word.latin = true;
        if ((script == Script::Greek || script == Script::Cyrillic) && word.foreign == Script::Other) {
            word.foreign = script;
            word.firstForeign = std::string(c.bytes);
        }
    });
    return words;
}

}  // namespace

Script scriptOf(char32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return Script::Latin;
    if ((c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) || (c >= 0x1E00 && c <= 0x1EFF) ||
        (c >= 0x2C60 && c <= 0x2C7F) || (c >= 0xA720 && c <= 0xA7FF))
        return Script::Latin;
    if ((c >= 0x370 && c <= 0x3FF && c != 0x37E && c != 0x387) || (c >= 0x1F00 && c <= 0x1FFF)) return Script::Greek;
    if ((c >= 0x400 && c <= 0x52F) || (c >= 0x1C80 && c <= 0x1C8F) || (c >= 0x2DE0 && c <= 0x2DFF) ||
        (c >= 0xA640 && c <= 0xA69F))
        return Script::Cyrillic;
    return Script::Other;
}

std::optional<ScriptMix> scriptMixOf(std::string_view name) {
    const std::vector<WordScripts> words = wordsOf(name);
    const bool latin = std::any_of(words.begin(), words.end(), [](const WordScripts& w) { return w.latin; });
    if (!latin) return std::nullopt;
    std::optional<ScriptMix> first;
    for (const WordScripts& word : words) {
        if (word.foreign == Script::Other) continue;
        if (word.latin) return ScriptMix{word.word, word.firstForeign, word.foreign, true};
        if (!first) first = ScriptMix{word.word, word.firstForeign, word.foreign, false};
    }
    return first;
}

std::string latinLookAlike(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    forEachCharacter(name, [&](const Character& c) {
        const auto* found = std::find_if(std::begin(kLookAlikes), std::end(kLookAlikes),
                                         [&](const LookAlike& entry) { return entry.letter == c.code; });
        if (found != std::end(kLookAlikes)) out += found->latin;
        else out += c.bytes;
    });
    return out;
}

std::vector<MixedScriptName> mixedScriptNames(const std::vector<std::string>& names) {
    std::vector<std::optional<ScriptMix>> mixes;
    mixes.reserve(names.size());
    std::unordered_map<std::string, std::vector<std::size_t>> byLook;
    for (std::size_t k = 0; k < names.size(); ++k) {
        mixes.push_back(scriptMixOf(names[k]));
        // Only a name that has a Greek or Cyrillic letter changes; the others look like themselves.
        byLook[mixes.back() ? latinLookAlike(names[k]) : names[k]].push_back(k);
    }
    std::vector<MixedScriptName> found;
    for (std::size_t k = 0; k < names.size(); ++k) {
        if (!mixes[k]) continue;
        std::optional<std::size_t> lookAlike;
        for (const std::size_t other : byLook[latinLookAlike(names[k])]) {
            if (names[other] == names[k]) continue;
            if (!lookAlike || (mixes[*lookAlike] && !mixes[other])) lookAlike = other;
        }
        if (mixes[k]->inOneWord || lookAlike) found.push_back({k, lookAlike, *mixes[k]});
    }
    return found;
}

}  // namespace el::vec
