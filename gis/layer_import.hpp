#pragma once
// Reads one layer of any vector source GDAL can open into a vector data set: one object
// per feature in feature order, the chosen attribute columns as ordinal variables.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "vector/vector_data.hpp"

namespace el::gis {

struct ImportOptions {
    std::string layer;                               // empty: the first layer
    std::string nameField;                           // empty: a field called "name" (any case), else the feature id
    std::optional<std::vector<std::string>> species; // empty: every field but the name field
    std::string targetSrs;                           // empty: coordinates as stored
};

// Throws GisError with a sentence for the user when the source cannot be converted.
// Missing values are empty texts.
vec::VectorData importLayer(const std::filesystem::path& source, const ImportOptions& options);

}  // namespace el::gis
