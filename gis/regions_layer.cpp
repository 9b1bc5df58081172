#include "gis/regions_layer.hpp"

#include <ogr_spatialref.h>

#include "gis/attribute_text.hpp"
#include "gis/gdal_session.hpp"
#include "gis/geometry_shape.hpp"
#include "gis/gis_error.hpp"
#include "gis/layer_source.hpp"

namespace el::gis {
namespace {

std::string layerClause(GDALDataset& dataset) {
    return dataset.GetLayerCount() > 1 ? "; the file's layers are " + layerList(dataset) : "";
}

int keyFieldIndex(GDALDataset& dataset, OGRLayer& layer, const std::string& given) {
    const OGRFeatureDefn& definition = *layer.GetLayerDefn();
    const std::string layerName = layer.GetName();
    if (given.empty()) {
        const int index = findField(definition, "name");
        if (index < 0)
            throw GisError("layer " + quotedText(layerName) + " has no field called \"name\" to take the region keys from; " +
                           "name the key field (fields: " + fieldList(definition) + ")" + layerClause(dataset));
        return index;
    }
    const int index = findField(definition, given);
    if (index < 0)
        throw GisError("layer " + quotedText(layerName) + " has no field named " + quotedText(given) + " (fields: " +
                       fieldList(definition) + ")" + layerClause(dataset));
    return index;
}

// Coordinates go to longitude/latitude when the layer says what they are; a layer without
// a coordinate system keeps them as stored (they may be longitude/latitude already).
std::unique_ptr<Reprojection> toLonLat(OGRLayer& layer) {
    const OGRSpatialReference* stored = layer.GetSpatialRef();
    if (stored == nullptr || isUndefinedSrs(*stored)) return nullptr;
    auto reproject = reprojection(layer, "EPSG:4326");
    OGRSpatialReference source(*stored);
    source.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    if (source.IsSame(&reproject->target)) return nullptr;
    return reproject;
}

std::unique_ptr<OGRGeometry> lonLatGeometry(const OGRGeometry& stored, const Reprojection* reproject,
                                            const std::string& label) {
    std::unique_ptr<OGRGeometry> geometry(stored.clone());
    if (reproject && geometry->transform(reproject->transform.get()) != OGRERR_NONE)
        throw GisError(label + " could not be reprojected to longitude/latitude" + gdalReason());
    return geometry;
}

struct FeatureReader {
    OGRLayer& layer;
    int keyField;
    const Reprojection* reproject;
    RegionsLayer& out;
    RegionLocator& locator;
    std::map<std::string, std::string> labels;  // key -> the feature that holds it

    void read(OGRFeature& feature, int position) {
        const std::string label = featureLabel(feature, position) + " of layer " + quotedText(layer.GetName());
        const std::string key = attributeText(feature, keyField).value_or("");
        if (key.empty()) throw GisError(label + " has an empty key in field " + quotedText(out.keyField));
        const auto [known, added] = labels.emplace(key, label);
        if (!added)
            throw GisError("the key " + quotedText(key) + " of field " + quotedText(out.keyField) + " is shared by " +
                           known->second + " and " + label);
        const OGRGeometry* stored = feature.GetGeometryRef();
        if (stored == nullptr || stored->IsEmpty()) throw GisError(label + " (key " + quotedText(key) + ") has no geometry");
        const std::unique_ptr<OGRGeometry> geometry = lonLatGeometry(*stored, reproject, label);
        try {
            VectorShape shape = shapeOf(*geometry);
            out.shapes[key] = vec::RegionShape{shape.type, std::move(shape.parts)};
            locator.add(out.keys.size(), *geometry);
        } catch (const GisError& e) {
            throw GisError(label + " (key " + quotedText(key) + "): " + e.what());
        }
        out.keys.push_back(key);
    }
};

}  // namespace

RegionsLayer readRegionsLayer(const std::filesystem::path& source, const std::string& layerName,
                              const std::string& keyField) {
    registerGdalDrivers();
    QuietGdal quiet;
    DatasetPtr dataset = openVectorSource(source);
    OGRLayer& layer = chooseLayer(*dataset, source, layerName);
    RegionsLayer out;
    out.layerName = layer.GetName();
    const int keyIndex = keyFieldIndex(*dataset, layer, keyField);
    out.keyField = layer.GetLayerDefn()->GetFieldDefn(keyIndex)->GetNameRef();
    const auto reproject = toLonLat(layer);
    auto locator = std::make_shared<RegionLocator>();
    FeatureReader reader{layer, keyIndex, reproject.get(), out, *locator, {}};
    layer.ResetReading();
    int position = 0;
    while (FeaturePtr feature{layer.GetNextFeature()}) reader.read(*feature, ++position);
    if (out.keys.empty()) throw GisError("layer " + quotedText(out.layerName) + " of " + gdalPath(source) + " has no features");
    locator->finish();
    out.locator = std::move(locator);
    return out;
}

}  // namespace el::gis
