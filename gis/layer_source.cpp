#include "gis/layer_source.hpp"

#include <cpl_vsi.h>

#include "base/text.hpp"
#include "gis/gis_error.hpp"

namespace el::gis {

std::string quotedText(const std::string& text) { return "\"" + text + "\""; }

DatasetPtr openVectorSource(const std::filesystem::path& source) {
    VSIStatBufL stat;  // GDAL's own look, which also sees its in-memory files
    if (VSIStatL(gdalPath(source).c_str(), &stat) != 0)
        throw GisError("cannot open " + gdalPath(source) + ": no such file");
    DatasetPtr dataset(GDALDataset::Open(gdalPath(source).c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
    if (!dataset) throw GisError(gdalPath(source) + " is not a GIS vector file that can be read" + gdalReason());
    return dataset;
}

OGRLayer& chooseLayer(GDALDataset& dataset, const std::filesystem::path& source, const std::string& name) {
    if (dataset.GetLayerCount() < 1) throw GisError(gdalPath(source) + " has no layer");
    if (name.empty()) return *dataset.GetLayer(0);
    for (int i = 0; i < dataset.GetLayerCount(); ++i) {
        OGRLayer* layer = dataset.GetLayer(i);
        if (layer->GetName() == name) return *layer;
    }
    throw GisError(gdalPath(source) + " has no layer named " + quotedText(name) + " (layers: " + layerList(dataset) + ")");
}

std::string layerList(GDALDataset& dataset) {
    std::string known;
    for (int i = 0; i < dataset.GetLayerCount(); ++i)
        known += (i ? ", " : "") + std::string(dataset.GetLayer(i)->GetName());
    return known;
}

int findField(const OGRFeatureDefn& definition, const std::string& name) {
    for (int i = 0; i < definition.GetFieldCount(); ++i)
        if (definition.GetFieldDefn(i)->GetNameRef() == name) return i;
    for (int i = 0; i < definition.GetFieldCount(); ++i)
        if (asciiLower(definition.GetFieldDefn(i)->GetNameRef()) == asciiLower(name)) return i;
    return -1;
}

std::string fieldList(const OGRFeatureDefn& definition) {
    std::string list;
    for (int i = 0; i < definition.GetFieldCount(); ++i)
        list += (i ? ", " : "") + std::string(definition.GetFieldDefn(i)->GetNameRef());
    return list.empty() ? "none" : list;
}

bool isUndefinedSrs(const OGRSpatialReference& srs) {
    const char* name = srs.GetName();
    return name != nullptr && asciiLower(name).rfind("undefined ", 0) == 0;
}

std::unique_ptr<Reprojection> reprojection(OGRLayer& layer, const std::string& targetSrs) {
    if (targetSrs.empty()) return nullptr;
    auto result = std::make_unique<Reprojection>();
    if (result->target.SetFromUserInput(targetSrs.c_str()) != OGRERR_NONE)
        throw GisError("the coordinate system " + quotedText(targetSrs) + " is not understood" + gdalReason());
    result->target.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    const OGRSpatialReference* stored = layer.GetSpatialRef();
    if (stored == nullptr || isUndefinedSrs(*stored))
        throw GisError("layer " + quotedText(layer.GetName()) + " has no coordinate system, so it cannot be reprojected");
    OGRSpatialReference source(*stored);
    source.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    result->transform.reset(OGRCreateCoordinateTransformation(&source, &result->target));
    if (!result->transform)
        throw GisError("no transformation leads from the coordinate system of layer " + quotedText(layer.GetName()) +
                       " to " + quotedText(targetSrs) + gdalReason());
    return result;
}

std::string featureLabel(const OGRFeature& feature, int position) {
    const GIntBig fid = feature.GetFID();
    return "feature " + std::to_string(fid == OGRNullFID ? position : fid);
}

}  // namespace el::gis
