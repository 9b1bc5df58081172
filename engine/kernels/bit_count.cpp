#include "engine/kernels/bit_count.hpp"

#include "engine/kernels/wide_kernels.hpp"

namespace el::engine {
namespace {

#define EARLYLATE_INLINE inline __attribute__((always_inline))

EARLYLATE_INLINE long long commonBits(const std::uint64_t* a, const std::uint64_t* b, std::size_t words) {
    long long count = 0;
    for (std::size_t w = 0; w < words; ++w) count += __builtin_popcountll(a[w] & b[w]);
    return count;
}

EARLYLATE_INLINE void fieldCounts(const std::uint64_t* words, std::size_t count, std::uint64_t fields, int* early,
                                  int* same, int* late) {
    for (std::size_t j = 0; j < count; ++j) {
        const std::uint64_t low = words[j] & fields;
        const std::uint64_t high = (words[j] >> 1) & fields;
        early[j] += __builtin_popcountll(low & ~high);
        same[j] += __builtin_popcountll(high & ~low);
        late[j] += __builtin_popcountll(low & high);
    }
}

#ifdef EARLYLATE_WIDE_KERNELS
__attribute__((target("popcnt"))) long long commonBitsCounted(const std::uint64_t* a, const std::uint64_t* b,
                                                              std::size_t words) {
    return commonBits(a, b, words);
}

__attribute__((target("popcnt"))) void fieldCountsCounted(const std::uint64_t* words, std::size_t count,
                                                          std::uint64_t fields, int* early, int* same, int* late) {
    fieldCounts(words, count, fields, early, same, late);
}

bool popcountInstruction() {
    static const bool available = __builtin_cpu_supports("popcnt");
    return available;
}
#endif

}  // namespace

long long countCommonBits(const std::uint64_t* a, const std::uint64_t* b, std::size_t words) {
#ifdef EARLYLATE_WIDE_KERNELS
    if (popcountInstruction()) return commonBitsCounted(a, b, words);
#endif
    return commonBits(a, b, words);
}

void addFieldCounts(const std::uint64_t* words, std::size_t count, std::uint64_t fields, int* early, int* same,
                    int* late) {
#ifdef EARLYLATE_WIDE_KERNELS
    if (popcountInstruction()) return fieldCountsCounted(words, count, fields, early, same, late);
#endif
    fieldCounts(words, count, fields, early, same, late);
}

}  // namespace el::engine
