#pragma once
// Writes a vector data set as a GIS layer, so that its variables (the prediction columns
// of a write-back among them) can be mapped in any GIS.

#include <filesystem>
#include <cstddef>
#include <functional>
#include <span>
#include <string>

#include "vector/vector_data.hpp"

class GDALDataset;
class OGRFeature;
class OGRLayer;

namespace el::gis {

// The GDAL driver that writes files with the extension of `output` (".gpkg", ".shp",
// ".geojson", ...), or "" when none does.
std::string driverForOutput(const std::filesystem::path& output);

// One feature per object, in file order, with the object's geometry, one attribute per
// variable and the object name in a "name" attribute ("object_name" when a variable is
// already called name). A variable whose present values all read as numbers is a real
// column, any other a text column; values equal to `missvalue`, or "null" in any letter
// case, are null. An existing `output` is replaced; after a failure a GeoPackage or GeoJSON
// file is as it was, and nothing is left of a Shapefile. Throws GisError.
void exportVectorData(const vec::VectorData& data, const std::string& missvalue, const std::filesystem::path& output);

// Creates `output` anew in the GIS format of its extension and lets `fill` write its layer.
// A one-file format (GeoPackage, GeoJSON) is made beside `output` and put in its place whole
// (base/file_replace.hpp), so a failure (a GisError) leaves the previous file as it was; any
// other format is written in place, and a failure leaves nothing of `output`.
void writeNewDataset(const std::filesystem::path& output, const std::function<void(GDALDataset&)>& fill);

// Writes one feature per object, in order, to a new layer of `dataset` named after `output`,
// in one transaction where the driver has them. The layer takes the objects' common geometry
// type (a geometry of another type is converted to it); `addFields` creates the attributes
// and `setAttributes` fills those of the feature of object i. A feature that cannot be written
// is named in the error as `noun` "name". Throws GisError.
void writeFeatureLayer(GDALDataset& dataset, std::span<const vec::VectorObject> objects,
                       const std::filesystem::path& output, const std::function<void(OGRLayer&)>& addFields,
                       const std::function<void(OGRFeature&, std::size_t)>& setAttributes, const std::string& noun);

}  // namespace el::gis
