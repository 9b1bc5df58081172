// Fuzz target over the Read step.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/read_step_entry.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return el::fuzz::readStepOnBytes(std::string_view(reinterpret_cast<const char*>(data), size));
}
