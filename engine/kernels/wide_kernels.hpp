#pragma once
// Whether this processor runs the engine's eight-lane kernels (AVX-512). They do the same
// operations in the same order as the portable loops beside them, only eight cells at a
// time, and the engine is compiled without contracting a multiply and an add into one, so
// the choice never changes a number.

#if defined(__x86_64__) && defined(__GNUC__)
#define EARLYLATE_WIDE_KERNELS 1
#define EARLYLATE_WIDE __attribute__((target("avx512f")))
#include <immintrin.h>
#endif

namespace el::engine {

bool wideKernels();

#ifdef EARLYLATE_WIDE_KERNELS
// Every lane. The kernels use the masked forms of the intrinsics, which start from zeros
// rather than from an undefined vector (GCC 12 takes the latter for an uninitialised read).
inline constexpr __mmask8 kAllLanes = 0xFF;
#endif

}  // namespace el::engine
