#pragma once
// Names a user may have meant: the nearest by edit distance, for the refusal of a name that
// names nothing (a species, a region, a country).

#include <cstddef>
#include <string>
#include <vector>

namespace el {

// The edit distance (insertions, deletions, substitutions) between two UTF-8 texts, counted
// in characters, with ASCII letters compared without regard to case.
std::size_t editDistance(const std::string& a, const std::string& b);

// Up to `most` of `names` near enough to `given` to be a slip of the keyboard (a distance of
// at most a quarter of its length, and at least 2), nearest first, ties in list order.
std::vector<std::string> closestNames(const std::string& given, const std::vector<std::string>& names,
                                      std::size_t most = 3);

// The question a refusal asks about the names found near: `did you mean "a" or "b"?`, or ""
// when there is none.
std::string didYouMean(const std::vector<std::string>& near);

}  // namespace el
