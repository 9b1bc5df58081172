#include "engine/kernels/wide_kernels.hpp"

namespace el::engine {

bool wideKernels() {
#ifdef EARLYLATE_WIDE_KERNELS
    static const bool available = __builtin_cpu_supports("avx512f");
    return available;
#else
    return false;
#endif
}

}  // namespace el::engine
