// Fuzz target over the occurrence reader.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/occurrence_entry.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return el::fuzz::occurrencesOnBytes(std::string_view(reinterpret_cast<const char*>(data), size));
}
