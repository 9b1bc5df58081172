#pragma once
// Lets the Read step take a GIS file: its first layer becomes a data set in memory, which
// the Read step then takes like one read from a vector file. The source is never touched.

#include <filesystem>
#include <optional>

#include "base/messenger.hpp"
#include "vector/vector_data.hpp"

namespace el::gis {

// True for the GIS files the Read step takes: .gpkg, .shp, .geojson and .json (any case).
bool isGisFile(const std::filesystem::path& path);

// The first layer of a GIS file (every attribute a species, names from a "name" field or
// the feature ids) with its texts as a read of its vector file would give them: blanks
// before a value, a name or a variable name are not part of it. Nothing after a message
// when the file cannot be converted.
std::optional<vec::VectorData> importForRead(const std::filesystem::path& source, Messenger& messenger);

}  // namespace el::gis
