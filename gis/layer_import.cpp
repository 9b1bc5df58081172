#include "gis/layer_import.hpp"

#include <algorithm>

#include <cpl_vsi.h>
#include <ogr_spatialref.h>

#include "base/text.hpp"
#include "gis/attribute_text.hpp"
#include "gis/gdal_session.hpp"
#include "gis/geometry_shape.hpp"
#include "gis/gis_error.hpp"
#include "vector/record_layout.hpp"

namespace el::gis {
namespace {

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

DatasetPtr openSource(const std::filesystem::path& source) {
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
    std::string known;
    for (int i = 0; i < dataset.GetLayerCount(); ++i) {
        OGRLayer* layer = dataset.GetLayer(i);
        if (layer->GetName() == name) return *layer;
        known += (known.empty() ? "" : ", ") + std::string(layer->GetName());
    }
    throw GisError(gdalPath(source) + " has no layer named " + quoted(name) + " (layers: " + known + ")");
}

// Exact match first, then a match in any letter case.
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

int nameFieldIndex(const OGRFeatureDefn& definition, const std::string& layer, const std::string& given) {
    if (given.empty()) return findField(definition, "name");
    const int index = findField(definition, given);
    if (index < 0)
        throw GisError("layer " + quoted(layer) + " has no field named " + quoted(given) +
                       " (fields: " + fieldList(definition) + ")");
    return index;
}

std::vector<int> speciesFields(const OGRFeatureDefn& definition, const std::string& layer, int nameField,
                               const ImportOptions& options) {
    std::vector<int> fields;
    if (options.species) {
        for (const std::string& name : *options.species) {
            const int index = findField(definition, name);
            if (index < 0)
                throw GisError("layer " + quoted(layer) + " has no field named " + quoted(name) +
                               " (fields: " + fieldList(definition) + ")");
            if (std::find(fields.begin(), fields.end(), index) != fields.end())
                throw GisError("the species " + quoted(name) + " is given twice");
            fields.push_back(index);
        }
    } else {
        for (int i = 0; i < definition.GetFieldCount(); ++i)
            if (i != nameField && definition.GetFieldDefn(i)->GetType() != OFTBinary) fields.push_back(i);
    }
    if (fields.empty()) throw GisError("layer " + quoted(layer) + " has no attribute field to take as a species");
    for (const int index : fields) {
        // The scan takes the first "type$" of the variable line as the start of the structural names.
        if (asciiLower(definition.GetFieldDefn(index)->GetNameRef()) == "type$")
            throw GisError("the field name \"type$\" is reserved in vector files; choose the species with --species");
    }
    return fields;
}

struct Reprojection {
    OGRSpatialReference target;
    std::unique_ptr<OGRCoordinateTransformation> transform;
};

// GeoPackage layers written without a coordinate system read back with a placeholder
// that would turn any coordinates into degrees; it is no coordinate system at all.
bool isUndefinedSrs(const OGRSpatialReference& srs) {
    const char* name = srs.GetName();
    return name != nullptr && asciiLower(name).rfind("undefined ", 0) == 0;
}

std::unique_ptr<Reprojection> reprojection(OGRLayer& layer, const std::string& targetSrs) {
    if (targetSrs.empty()) return nullptr;
    auto result = std::make_unique<Reprojection>();
    if (result->target.SetFromUserInput(targetSrs.c_str()) != OGRERR_NONE)
        throw GisError("the coordinate system " + quoted(targetSrs) + " is not understood" + gdalReason());
    result->target.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    const OGRSpatialReference* stored = layer.GetSpatialRef();
    if (stored == nullptr || isUndefinedSrs(*stored))
        throw GisError("layer " + quoted(layer.GetName()) + " has no coordinate system, so it cannot be reprojected");
    OGRSpatialReference source(*stored);
    source.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    result->transform.reset(OGRCreateCoordinateTransformation(&source, &result->target));
    if (!result->transform)
        throw GisError("no transformation leads from the coordinate system of layer " + quoted(layer.GetName()) +
                       " to " + quoted(targetSrs) + gdalReason());
    return result;
}

std::string featureLabel(const OGRFeature& feature, int position) {
    const GIntBig fid = feature.GetFID();
    return "feature " + std::to_string(fid == OGRNullFID ? position : fid);
}

}  // namespace

VectorData importLayer(const std::filesystem::path& source, const ImportOptions& options) {
    registerGdalDrivers();
    QuietGdal quiet;
    DatasetPtr dataset = openSource(source);
    OGRLayer& layer = chooseLayer(*dataset, source, options.layer);
    const std::string layerName = layer.GetName();
    OGRFeatureDefn& definition = *layer.GetLayerDefn();
    const int nameField = nameFieldIndex(definition, layerName, options.nameField);
    const std::vector<int> fields = speciesFields(definition, layerName, nameField, options);
    const auto reproject = reprojection(layer, options.targetSrs);

    VectorData data;
    data.filetype = "vector";
    data.comment = vectorFieldText("Converted from " + gdalPath(source.filename()) + " layer " + layerName);
    data.sizes.valn = static_cast<int>(fields.size());
    for (const int index : fields) data.valname.push_back(vectorFieldText(definition.GetFieldDefn(index)->GetNameRef()));

    layer.ResetReading();
    int position = 0;
    while (FeaturePtr feature{layer.GetNextFeature()}) {
        ++position;
        const std::string label = featureLabel(*feature, position);
        const OGRGeometry* stored = feature->GetGeometryRef();
        if (stored == nullptr) throw GisError(label + " of layer " + quoted(layerName) + " has no geometry");
        std::unique_ptr<OGRGeometry> moved;
        if (reproject) {
            moved.reset(stored->clone());
            if (moved->transform(reproject->transform.get()) != OGRERR_NONE)
                throw GisError(label + " could not be reprojected" + gdalReason());
        }
        VectorShape shape;
        try {
            shape = shapeOf(moved ? *moved : *stored);
        } catch (const GisError& e) {
            throw GisError(label + " of layer " + quoted(layerName) + ": " + e.what());
        }
        VectorObject object;
        for (const int index : fields) object.values.push_back(attributeText(*feature, index).value_or(""));
        const bool named = nameField >= 0 && feature->IsFieldSetAndNotNull(nameField);
        object.name = named ? vectorFieldText(feature->GetFieldAsString(nameField))
                            : std::to_string(feature->GetFID() == OGRNullFID ? position : feature->GetFID());
        object.type = shape.type;
        object.parts = std::move(shape.parts);
        data.objects.push_back(std::move(object));
    }
    if (data.objects.empty()) throw GisError("layer " + quoted(layerName) + " of " + gdalPath(source) + " has no features");
    vec::completeLayout(data);
    return data;
}

}  // namespace el::gis
