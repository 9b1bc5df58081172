#include "engine/report/similarity_size.hpp"

#include <array>
#include <cstdio>

namespace el::engine {
namespace {

// ", " and the widest similarity strnum gives: a blank, the point and 15 digits.
constexpr std::uint64_t kSimilarityCell = 2 + 17;
// The lines around the two matrices: the blank lines, the two titles and the line ends.
constexpr std::uint64_t kFixedLines = 2 + 80 + 2 + 60;

std::uint64_t digitsOf(std::uint64_t value) {
    std::uint64_t digits = 1;
    for (; value >= 10; value /= 10) ++digits;
    return digits;
}

}  // namespace

std::uint64_t similarityOutputBytes(const std::vector<std::string>& species, int regions) {
    const auto m = static_cast<std::uint64_t>(species.size());
    const auto n = static_cast<std::uint64_t>(regions > 0 ? regions : 0);
    std::uint64_t names = 0;
    for (const std::string& name : species) names += name.size();
    const std::uint64_t header = 2 + 2 * m + names + 1;       // "  , A, B" and its line end
    const std::uint64_t rowHeads = names + m;                 // each row's name and line end
    const std::uint64_t countCell = 2 + 1 + digitsOf(n * n);  // ", " and a blank or a sign before the count
    return kFixedLines + 2 * (header + rowHeads) + m * m * (kSimilarityCell + countCell);
}

bool writesSimilarityOutput(const SettingsSource& settings) {
    return settings.setting(Setting::SimOutput) != "none" && !isOn(settings, Setting::ExamineWeight);
}

std::string sizeText(std::uint64_t bytes) {
    constexpr std::array<const char*, 5> kUnits{"kB", "MB", "GB", "TB", "PB"};
    if (bytes < 1000) return std::to_string(bytes) + " B";
    auto value = static_cast<double>(bytes) / 1000;
    std::size_t unit = 0;
    for (; value >= 999.95 && unit + 1 < kUnits.size(); ++unit) value /= 1000;
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%.1f %s", value, kUnits[unit]);
    return text.data();
}

std::optional<std::uint64_t> oversizedSimilarityOutput(const std::vector<std::string>& species, int regions,
                                                       const SettingsSource& settings, std::uint64_t limit) {
    if (!writesSimilarityOutput(settings)) return std::nullopt;
    const std::uint64_t bytes = similarityOutputBytes(species, regions);
    if (bytes <= limit) return std::nullopt;
    return bytes;
}

std::string similaritySizeText(std::size_t species, std::uint64_t bytes) {
    const std::string m = std::to_string(species);
    return "the similarity output of " + m + " species is two " + m + " x " + m + " matrices: up to " +
           sizeText(bytes) + " of log";
}

}  // namespace el::engine
