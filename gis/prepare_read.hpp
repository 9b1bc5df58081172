#pragma once
// Lets the Read step take a GIS file: the file is converted to a scratch vector file in
// the working directory, which is then read like any other. The source is never touched.

#include <filesystem>

#include "base/messenger.hpp"

namespace el::gis {

// The name of the scratch vector file, in the working directory.
inline constexpr const char* kScratchVectorFile = "temp0.csv";

// True for the GIS files the Read step converts: .gpkg, .shp, .geojson and .json (any case).
bool isGisFile(const std::filesystem::path& path);

// For a GIS file: converts its first layer (every attribute a species, names from a
// "name" field or the feature ids) to "temp0.csv" and returns that path. Any other
// source is returned unchanged. On failure the user gets a message, the scratch file is
// removed, and GisError is thrown.
std::filesystem::path prepareForRead(const std::filesystem::path& source, Messenger& messenger);

}  // namespace el::gis
