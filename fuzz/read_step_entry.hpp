#pragma once
// The fuzz entry of the Read step: one input, taken as the bytes of a vector file, through
// the whole step (decoding, normaliser, scan, reader and the checks) in memory, with no
// side log file. Header-only, so that the libFuzzer target and the corpus replay of the
// test run share it.

#include <string>
#include <string_view>

#include "fuzz/fuzz_require.hpp"
#include "vector/vector_file.hpp"

namespace el::fuzz {

inline int readStepOnBytes(std::string_view bytes) {
    SettingValues settings;
    settings.set(Setting::SkipFormatCheck, "0");  // the checks on
    CountingMessenger messenger;
    Feedback quiet;
    const vec::ReadOutcome outcome =
        vec::readVectorBytes(std::string(bytes), "input.csv", "null", {settings, messenger, quiet}, "auto", "");
    require(outcome.erf == 0 || messenger.messages > 0, "a failed read without a message");
    require(outcome.erf != 0 || outcome.data.consistent(), "a successful read with an inconsistent data set");
    return 0;
}

}  // namespace el::fuzz
