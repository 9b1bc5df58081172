// Fuzz target over the number parser.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/number_entry.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return el::fuzz::numberOnBytes(std::string_view(reinterpret_cast<const char*>(data), size));
}
