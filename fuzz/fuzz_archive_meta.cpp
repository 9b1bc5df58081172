// Fuzz target over the descriptor (meta.xml) of a Darwin Core archive.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/records_entry.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return el::fuzz::archiveMetaOnBytes(std::string_view(reinterpret_cast<const char*>(data), size));
}
