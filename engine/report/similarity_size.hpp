#pragma once
// What the similarity output would add to the log, known before a run makes it: two m x m
// matrices of m species, which for the tens of thousands of species of a whole first-record
// database are billions of numbers. The front ends refuse (or ask) above a limit.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/settings.hpp"

namespace el::engine {

// Above this many bytes the similarity output is written only when asked for once more
// (--force, or Yes in the window's question box): 1 GB.
inline constexpr std::uint64_t kSimilarityOutputLimit = 1'000'000'000;

// The bytes (with line ends) the similarity output of `species` on `regions` regions adds to
// the log, at most: every similarity with 15 significant digits, every count of viable pairs
// with as many digits as `regions` squared has. It depends on names and counts only.
std::uint64_t similarityOutputBytes(const std::vector<std::string>& species, int regions);

// Whether a run with `settings` writes the similarity output: it is asked for, and the run is
// no examine-weight run (whose passes never write it).
bool writesSimilarityOutput(const SettingsSource& settings);

// A size in decimal units with one decimal: "950 B", "12.5 kB", "3.9 GB".
std::string sizeText(std::uint64_t bytes);

// The size estimate when a run with `settings` would write more than `limit` bytes of
// similarity output; nothing when it writes none or less.
std::optional<std::uint64_t> oversizedSimilarityOutput(const std::vector<std::string>& species, int regions,
                                                       const SettingsSource& settings,
                                                       std::uint64_t limit = kSimilarityOutputLimit);

// What is too large, for the refusal or the question: "the similarity output of 20000
// species is two 20000 x 20000 matrices: up to 9.6 GB of log".
std::string similaritySizeText(std::size_t species, std::uint64_t bytes);

}  // namespace el::engine
