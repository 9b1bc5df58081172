#pragma once
// Population counts with the processor's own instruction where it has one (the portable
// fallback counts the same bits).

#include <cstddef>
#include <cstdint>

namespace el::engine {

// The bits set in a[w] & b[w] over w < words.
long long countCommonBits(const std::uint64_t* a, const std::uint64_t* b, std::size_t words);

// Per cell of a row of `count` words: how many of the 2-bit fields selected by `fields`
// (binary 01 in each field taken) hold 1, 2 and 3, added to early, same and late.
void addFieldCounts(const std::uint64_t* words, std::size_t count, std::uint64_t fields, int* early, int* same,
                    int* late);

}  // namespace el::engine
