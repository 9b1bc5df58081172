#include "gis/country_names.hpp"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <set>
#include <utility>

#include "base/name_match.hpp"
#include "base/text.hpp"
#include "base/utf8.hpp"

namespace el::gis {
namespace {

// Common names the iso-codes data lacks, with the alpha-2 code they stand for.
constexpr std::array<std::pair<std::string_view, std::string_view>, 38> kCommonNames{{
    {"Russia", "RU"},
    {"Turkey", "TR"},
    {"Macedonia", "MK"},
    {"Cape Verde", "CV"},
    {"Czech Republic", "CZ"},
    {"Bosnia and Herzegovina", "BA"},
    {"Bosnia and Herz.", "BA"},
    {"Swaziland", "SZ"},
    {"Burma", "MM"},
    {"Ivory Coast", "CI"},
    {"East Timor", "TL"},
    {"Vatican", "VA"},
    {"Vatican City", "VA"},
    {"Brunei", "BN"},
    {"UK", "GB"},
    {"Great Britain", "GB"},
    {"USA", "US"},
    {"Palestine", "PS"},
    {"Micronesia", "FM"},
    {"DR Congo", "CD"},
    {"Dem. Rep. Congo", "CD"},
    {"Democratic Republic of Congo", "CD"},
    {"Holland", "NL"},
    {"Macau", "MO"},
    {"Faroes", "FO"},
    {"Aland", "AX"},
    {"Republic of Ireland", "IE"},
    {"Eire", "IE"},
    {"UAE", "AE"},
    {"Saint Helena", "SH"},
    {"South Georgia", "GS"},
    {"Bonaire", "BQ"},
    {"Cocos Islands", "CC"},
    {"Heard Island", "HM"},
    {"Central African Rep.", "CF"},
    {"Dominican Rep.", "DO"},
    {"Eq. Guinea", "GQ"},
    {"W. Sahara", "EH"},
}};

// Abbreviations as outline files write them, by their folded text without the point.
constexpr std::array<std::pair<std::string_view, std::string_view>, 12> kAbbreviations{{
    {"st", "saint"},
    {"ste", "sainte"},
    {"rep", "republic"},
    {"dem", "democratic"},
    {"is", "islands"},
    {"isl", "islands"},
    {"eq", "equatorial"},
    {"herz", "herzegovina"},
    {"fr", "french"},
    {"s", "south"},
    {"n", "north"},
    {"w", "western"},
}};

// The base letters of U+0100..U+017F (Latin Extended-A), one per code point.
constexpr std::string_view kLatinExtendedA =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiIiJjKkkLlLlLlLlLlNnNnNnnNnOoOoOoOoRrRrRrSsSsSsSsTtTtTtUuUuUuUu"
    "UuUuWwYyYZzZzZzs";

// The ASCII letters a Latin letter with a diacritic is folded to; "" for a character that
// separates words; the character itself (as UTF-8) for any other letter.
std::string baseLetters(char32_t c) {
    if (c < 0x80) {
        const char a = static_cast<char>(c);
        if ((a >= 'a' && a <= 'z') || (a >= '0' && a <= '9')) return std::string(1, a);
        if (a >= 'A' && a <= 'Z') return std::string(1, static_cast<char>(a - 'A' + 'a'));
        return a == '&' ? " and " : " ";
    }
    if (c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7) {
        constexpr std::string_view latin1 = "aaaaaaeceeeeiiiidnooooo ouuuuytsaaaaaaeceeeeiiiidnooooo ouuuuyty";
        if (c == 0xC6 || c == 0xE6) return "ae";
        if (c == 0xDE || c == 0xFE) return "th";
        if (c == 0xDF) return "ss";
        return std::string(1, latin1[c - 0xC0]);
    }
    if (c >= 0x100 && c <= 0x17F) return asciiLower(std::string(1, kLatinExtendedA[c - 0x100]));
    if (c >= 0x218 && c <= 0x21B) return c < 0x21A ? "s" : "t";  // the Romanian comma letters
    if ((c >= 0x2000 && c <= 0x206F) || c == 0xA0) return " ";   // general punctuation, spaces
    std::string text;
    if (c < 0x800) {
        text += static_cast<char>(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (c >> 18));
        text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    }
    text += static_cast<char>(0x80 | (c & 0x3F));
    return text;
}

std::vector<std::string> words(const std::string& folded) {
    std::vector<std::string> out;
    std::size_t at = 0;
    while (at < folded.size()) {
        const std::size_t end = std::min(folded.find(' ', at), folded.size());
        if (end > at) out.push_back(folded.substr(at, end - at));
        at = end + 1;
    }
    return out;
}

// An abbreviation is a word written with a point after it: "Rep." but not "Rep"; "St" and
// "Ste" stand for "Saint" and "Sainte" with or without one.
std::string expandedAbbreviations(std::string_view name) {
    std::string out;
    std::size_t at = 0;
    while (at <= name.size()) {
        const std::size_t end = std::min(name.find_first_of(" \t", at), name.size());
        std::string word(name.substr(at, end - at));
        const bool point = word.size() > 1 && word.back() == '.';
        const std::string bare = asciiLower(point ? word.substr(0, word.size() - 1) : word);
        if (point || bare == "st" || bare == "ste") {
            for (const auto& [shortForm, full] : kAbbreviations)
                if (bare == shortForm) word = std::string(full);
        }
        out += (out.empty() ? "" : " ") + word;
        at = end + 1;
    }
    return out;
}

// "Korea, Republic of" reads "Republic of Korea"; "Falkland Islands (Malvinas)" reads
// "Falkland Islands" as well.
std::vector<std::string> nameForms(const std::string& name) {
    std::vector<std::string> forms{name};
    std::string plain = name;
    if (const auto open = plain.find(" ("); open != std::string::npos && plain.back() == ')') {
        plain.erase(open);
        forms.push_back(plain);
    }
    if (const auto comma = plain.find(", "); comma != std::string::npos)
        forms.push_back(plain.substr(comma + 2) + " " + plain.substr(0, comma));
    return forms;
}

const std::string kNoCode;

}  // namespace

std::optional<CountryCodeKind> countryCodeKindOf(std::string_view text) {
    if (text == "numeric") return CountryCodeKind::Numeric;
    if (text == "alpha-2") return CountryCodeKind::Alpha2;
    if (text == "alpha-3") return CountryCodeKind::Alpha3;
    return std::nullopt;
}

const std::string& Country::code(CountryCodeKind kind) const {
    switch (kind) {
        case CountryCodeKind::Numeric:
            return numeric;
        case CountryCodeKind::Alpha2:
            return alpha2;
        case CountryCodeKind::Alpha3:
            return alpha3;
    }
    return kNoCode;
}

std::string foldedCountryName(std::string_view name) {
    std::string spread;
    for (const char32_t c : utf8CodePoints(expandedAbbreviations(trimBlanks(name)))) spread += baseLetters(c);
    std::vector<std::string> parts = words(spread);
    if (parts.size() > 1 && parts.front() == "the") parts.erase(parts.begin());
    std::string folded;
    for (const std::string& part : parts) folded += (folded.empty() ? "" : " ") + part;
    return folded;
}

CountryNames::CountryNames(std::vector<Country> countries) : countries_(std::move(countries)) {
    std::map<std::string, std::size_t> byAlpha2;
    for (std::size_t i = 0; i < countries_.size(); ++i) {
        const Country& country = countries_[i];
        for (const std::string* code : {&country.alpha2, &country.alpha3, &country.numeric})
            if (!code->empty()) byCode_.emplace(asciiLower(*code), i);
        byAlpha2.emplace(country.alpha2, i);
    }
    for (const auto& [name, alpha2] : kCommonNames)
        if (const auto found = byAlpha2.find(std::string(alpha2)); found != byAlpha2.end())
            countries_[found->second].names.emplace_back(name);
    std::set<std::string> ambiguous;
    for (std::size_t i = 0; i < countries_.size(); ++i)
        for (const std::string& name : countries_[i].names)
            for (const std::string& form : nameForms(name)) {
                const std::string folded = foldedCountryName(form);
                if (folded.empty()) continue;
                const auto [at, added] = byName_.emplace(folded, i);
                if (!added && at->second != i) ambiguous.insert(folded);
            }
    for (const std::string& folded : ambiguous) byName_.erase(folded);
    for (const Country& country : countries_)
        for (const std::string& name : country.names)
            if (std::find(shownNames_.begin(), shownNames_.end(), name) == shownNames_.end())
                shownNames_.push_back(name);
}

const Country* CountryNames::byCode(std::string_view code) const {
    std::string key = asciiLower(trimBlanks(code));
    const bool digits = !key.empty() && key.size() <= 3 &&
                        std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (digits) key.insert(0, 3 - key.size(), '0');
    else if (key.size() != 2 && key.size() != 3) return nullptr;
    const auto found = byCode_.find(key);
    return found == byCode_.end() ? nullptr : &countries_[found->second];
}

const Country* CountryNames::find(std::string_view nameOrCode) const {
    if (const auto found = byName_.find(foldedCountryName(nameOrCode)); found != byName_.end())
        return &countries_[found->second];
    return byCode(nameOrCode);
}

std::vector<std::string> CountryNames::closest(std::string_view name) const {
    return closestNames(std::string(trimBlanks(name)), shownNames_);
}

std::filesystem::path isoCountriesFile() {
    if (const char* chosen = std::getenv("EARLYLATE_ISO_CODES"); chosen != nullptr && *chosen != '\0') return chosen;
    return "/usr/share/iso-codes/json/iso_3166-1.json";
}

}  // namespace el::gis
