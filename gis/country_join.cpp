#include "gis/country_join.hpp"

#include <algorithm>

#include "base/name_match.hpp"
#include "base/text.hpp"

namespace el::gis {
namespace {

// A key as codes compare: lower case, digits without leading zeros.
std::string comparable(const std::string& key) {
    std::string text = asciiLower(trimBlanks(key));
    if (!text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        const std::size_t first = text.find_first_not_of('0');
        text = first == std::string::npos ? "0" : text.substr(first);
    }
    return text;
}

struct Unknown {
    std::string name;
    std::int64_t line;
};

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string unknownList(const std::vector<Unknown>& unknown, const CountryNames& countries) {
    constexpr std::size_t kListed = 20;
    std::string text;
    for (std::size_t k = 0; k < unknown.size() && k < kListed; ++k) {
        text += "\n  " + quoted(unknown[k].name) + " (line " + std::to_string(unknown[k].line);
        const std::vector<std::string> near = countries.closest(unknown[k].name);
        text += (near.empty() ? "" : "; " + didYouMean(near)) + ")";
    }
    if (unknown.size() > kListed) text += "\n  and " + std::to_string(unknown.size() - kListed) + " more";
    return text;
}

}  // namespace

std::string layerKeyOfCode(const std::string& code, const std::map<std::string, vec::RegionShape>& shapes) {
    if (shapes.count(code) > 0) return code;
    const std::string wanted = comparable(code);
    for (const auto& [key, shape] : shapes)
        if (comparable(key) == wanted) return key;
    return "";
}

void joinCountryCodes(std::vector<vec::Record>& records, const CountryNames& countries, CountryCodeKind kind,
                      const std::map<std::string, vec::RegionShape>& shapes, const std::string& column) {
    std::map<std::string, std::string> keyOfName;  // a name as written -> the layer's key
    std::vector<Unknown> unknown;
    for (vec::Record& record : records) {
        const std::string name = record.joinKey();
        auto known = keyOfName.find(name);
        if (known == keyOfName.end()) {
            std::string key;
            if (const Country* country = countries.find(name)) {
                const std::string& code = country->code(kind);
                key = layerKeyOfCode(code, shapes);
                if (key.empty()) key = code;
            } else {
                unknown.push_back({name, record.row});
            }
            known = keyOfName.emplace(name, key).first;
        }
        record.key = known->second;
    }
    if (!unknown.empty())
        throw vec::RecordsError(std::to_string(unknown.size()) + (unknown.size() == 1 ? " name" : " names") +
                                " of column " + quoted(column) + " " + (unknown.size() == 1 ? "is" : "are") +
                                " no ISO 3166 country (nor a code of one):" + unknownList(unknown, countries));
}

}  // namespace el::gis
