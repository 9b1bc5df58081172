#pragma once
// Opening a GIS vector source and finding its layer, fields and coordinate transformation:
// the steps every reader of a layer shares, each failing with a sentence that names the
// file, layer or field at fault.

#include <filesystem>
#include <memory>
#include <string>

#include <ogr_spatialref.h>

#include "gis/gdal_session.hpp"

namespace el::gis {

std::string quotedText(const std::string& text);

// Opens a vector source read-only (GDAL's in-memory files included).
DatasetPtr openVectorSource(const std::filesystem::path& source);

// The layer called `name`, or the first layer when `name` is empty.
OGRLayer& chooseLayer(GDALDataset& dataset, const std::filesystem::path& source, const std::string& name);

// The names of the source's layers, separated by ", ".
std::string layerList(GDALDataset& dataset);

// The field called `name`: an exact match first, then a match in any letter case; -1 for none.
int findField(const OGRFeatureDefn& definition, const std::string& name);

// The layer's field names separated by ", ", or "none".
std::string fieldList(const OGRFeatureDefn& definition);

struct Reprojection {
    OGRSpatialReference target;
    std::unique_ptr<OGRCoordinateTransformation> transform;
};

// GeoPackage layers written without a coordinate system read back with a placeholder
// that would turn any coordinates into degrees; it is no coordinate system at all.
bool isUndefinedSrs(const OGRSpatialReference& srs);

// The transformation from the layer's coordinate system to `targetSrs` (axes in the
// traditional GIS order); null when `targetSrs` is empty. Throws GisError when the
// layer has no coordinate system or no transformation leads there.
std::unique_ptr<Reprojection> reprojection(OGRLayer& layer, const std::string& targetSrs);

// "feature FID" (or its position when the source has no feature ids).
std::string featureLabel(const OGRFeature& feature, int position);

}  // namespace el::gis
