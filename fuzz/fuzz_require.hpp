#pragma once
// What the fuzz entries share: a finding stops the process, and a messenger that counts.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/messenger.hpp"

namespace el::fuzz {

// Stops the process (a finding) when a step breaks one of its promises.
inline void require(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "fuzz finding: %s\n", what);
    std::abort();
}

class CountingMessenger : public Messenger {
public:
    void message(const std::string&) override { ++messages; }
    int messages = 0;
};

}  // namespace el::fuzz
