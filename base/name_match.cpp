#include "base/name_match.hpp"

#include <algorithm>
#include <numeric>

#include "base/utf8.hpp"

namespace el {
namespace {

// The characters of a UTF-8 text as code points, ASCII letters in lower case. A byte that
// starts no sequence counts as one character.
std::vector<char32_t> foldedCharacters(const std::string& text) {
    std::vector<char32_t> out = utf8CodePoints(text);
    for (char32_t& c : out)
        if (c >= U'A' && c <= U'Z') c += U'a' - U'A';
    return out;
}

}  // namespace

std::size_t editDistance(const std::string& a, const std::string& b) {
    const std::vector<char32_t> x = foldedCharacters(a);
    const std::vector<char32_t> y = foldedCharacters(b);
    std::vector<std::size_t> row(y.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= x.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= y.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (x[i - 1] == y[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[y.size()];
}

std::vector<std::string> closestNames(const std::string& given, const std::vector<std::string>& names,
                                      std::size_t most) {
    const std::size_t limit = std::max<std::size_t>(2, foldedCharacters(given).size() / 4);
    std::vector<std::pair<std::size_t, std::size_t>> near;  // distance, position
    for (std::size_t k = 0; k < names.size(); ++k)
        if (const std::size_t d = editDistance(given, names[k]); d <= limit) near.emplace_back(d, k);
    std::stable_sort(near.begin(), near.end(), [](const auto& l, const auto& r) { return l.first < r.first; });
    std::vector<std::string> out;
    for (std::size_t k = 0; k < near.size() && out.size() < most; ++k) out.push_back(names[near[k].second]);
    return out;
}

std::string didYouMean(const std::vector<std::string>& near) {
    if (near.empty()) return "";
    std::string text = "did you mean ";
    for (std::size_t k = 0; k < near.size(); ++k) text += (k == 0 ? "\"" : " or \"") + near[k] + "\"";
    return text + "?";
}

}  // namespace el
