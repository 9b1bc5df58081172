// Fuzz target over the records-table reader.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/records_entry.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return el::fuzz::recordsTableOnBytes(std::string_view(reinterpret_cast<const char*>(data), size));
}
