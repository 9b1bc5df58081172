// Fuzz target over the GIS import of the Read step.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/gis_import_entry.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return el::fuzz::gisImportOnBytes(std::string_view(reinterpret_cast<const char*>(data), size));
}
