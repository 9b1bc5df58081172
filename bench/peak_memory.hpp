#pragma once
// The process's peak resident memory, which each benchmark case reports.

#include <sys/resource.h>

namespace el::bench {

inline double peakRssMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in kilobytes
}

}  // namespace el::bench
