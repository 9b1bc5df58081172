#include "gis/regions_layer.hpp"

#include <algorithm>

#include <ogr_spatialref.h>

#include "gis/attribute_text.hpp"
#include "gis/gdal_session.hpp"
#include "gis/geometry_shape.hpp"
#include "gis/gis_error.hpp"
#include "gis/layer_source.hpp"
#include "gis/region_parts.hpp"
#include "vector/layer_regions.hpp"

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

// The features of one key, in feature order: their geometries in longitude/latitude.
struct KeyFeatures {
    std::string label;  // the first feature that holds the key
    std::vector<std::unique_ptr<OGRGeometry>> geometries;
};

struct FeatureReader {
    OGRLayer& layer;
    int keyField;
    const Reprojection* reproject;
    RegionsLayer& out;
    std::map<std::string, KeyFeatures> byKey;

    // A feature without a key or without geometry is left out and counted.
    void read(OGRFeature& feature, int position) {
        const std::string label = featureLabel(feature, position) + " of layer " + quotedText(layer.GetName());
        const std::string key = attributeText(feature, keyField).value_or("");
        if (key.empty()) {
            ++out.featuresWithoutKey;
            return;
        }
        const OGRGeometry* stored = feature.GetGeometryRef();
        if (stored == nullptr || stored->IsEmpty()) {
            ++out.featuresWithoutGeometry;
            return;
        }
        const auto [known, added] = byKey.try_emplace(key, KeyFeatures{label, {}});
        if (added) out.keys.push_back(key);
        known->second.geometries.push_back(lonLatGeometry(*stored, reproject, label));
    }

    // One region per key: the parts of every feature that holds it.
    void finish(RegionLocator& locator) {
        for (std::size_t index = 0; index < out.keys.size(); ++index) {
            const std::string& key = out.keys[index];
            KeyFeatures& features = byKey.at(key);
            const std::size_t count = features.geometries.size();
            const std::string what = count > 1 ? "the key " + quotedText(key) + " of field " + quotedText(out.keyField)
                                               : features.label + " (key " + quotedText(key) + ")";
            try {
                const std::unique_ptr<OGRGeometry> geometry = joinedGeometry(std::move(features.geometries), what);
                VectorShape shape = shapeOf(*geometry);
                out.shapes[key] = vec::RegionShape{shape.type, std::move(shape.parts)};
                locator.add(index, *geometry);
            } catch (const GisError& e) {
                const std::string message = e.what();
                throw GisError(message.starts_with(what) ? message : what + ": " + message);
            }
            if (count > 1) {
                out.sharedKeys.push_back(key);
                out.featuresJoined += static_cast<std::int64_t>(count);
            }
        }
    }
};

std::string counted(std::int64_t count, const std::string& one, const std::string& several) {
    return std::to_string(count) + " " + (count == 1 ? one : several);
}

std::string noFeatureText(const RegionsLayer& out, const std::filesystem::path& source) {
    std::string text = "layer " + quotedText(out.layerName) + " of " + gdalPath(source) + " has no features";
    const std::int64_t skipped = out.featuresWithoutKey + out.featuresWithoutGeometry;
    if (skipped > 0)
        text += " with both a key in field " + quotedText(out.keyField) + " and a geometry (" +
                counted(out.featuresWithoutKey, "feature has", "features have") + " an empty key, " +
                counted(out.featuresWithoutGeometry, "feature has", "features have") + " no geometry)";
    return text;
}

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
    FeatureReader reader{layer, keyIndex, reproject.get(), out, {}};
    layer.ResetReading();
    int position = 0;
    while (FeaturePtr feature{layer.GetNextFeature()}) reader.read(*feature, ++position);
    if (out.keys.empty()) throw GisError(noFeatureText(out, source));
    auto locator = std::make_shared<RegionLocator>();
    reader.finish(*locator);
    locator->finish();
    out.locator = std::move(locator);
    return out;
}

std::string layerNote(const RegionsLayer& layer) {
    return vec::layerNote(vec::LayerCounts{layer.keyField, layer.featuresWithoutKey, layer.featuresWithoutGeometry,
                                           layer.sharedKeys, layer.featuresJoined});
}

}  // namespace el::gis
