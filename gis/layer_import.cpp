#include "gis/layer_import.hpp"

#include <algorithm>

#include <cpl_vsi.h>
#include <ogr_spatialref.h>

#include "base/text.hpp"
#include "gis/attribute_text.hpp"
#include "gis/gdal_session.hpp"
#include "gis/geometry_shape.hpp"
#include "gis/gis_error.hpp"
#include "gis/layer_source.hpp"
#include "vector/record_layout.hpp"

namespace el::gis {
namespace {

int nameFieldIndex(const OGRFeatureDefn& definition, const std::string& layer, const std::string& given) {
    if (given.empty()) return findField(definition, "name");
    const int index = findField(definition, given);
    if (index < 0)
        throw GisError("layer " + quotedText(layer) + " has no field named " + quotedText(given) +
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
                throw GisError("layer " + quotedText(layer) + " has no field named " + quotedText(name) +
                               " (fields: " + fieldList(definition) + ")");
            if (std::find(fields.begin(), fields.end(), index) != fields.end())
                throw GisError("the species " + quotedText(name) + " is given twice");
            fields.push_back(index);
        }
    } else {
        for (int i = 0; i < definition.GetFieldCount(); ++i)
            if (i != nameField && definition.GetFieldDefn(i)->GetType() != OFTBinary) fields.push_back(i);
    }
    if (fields.empty()) throw GisError("layer " + quotedText(layer) + " has no attribute field to take as a species");
    for (const int index : fields) {
        // The scan takes the first "type$" of the variable line as the start of the structural names.
        if (asciiLower(definition.GetFieldDefn(index)->GetNameRef()) == "type$")
            throw GisError("the field name \"type$\" is reserved in vector files; choose the species with --species");
    }
    return fields;
}

}  // namespace

vec::VectorData importLayer(const std::filesystem::path& source, const ImportOptions& options) {
    registerGdalDrivers();
    QuietGdal quiet;
    DatasetPtr dataset = openVectorSource(source);
    OGRLayer& layer = chooseLayer(*dataset, source, options.layer);
    const std::string layerName = layer.GetName();
    OGRFeatureDefn& definition = *layer.GetLayerDefn();
    const int nameField = nameFieldIndex(definition, layerName, options.nameField);
    const std::vector<int> fields = speciesFields(definition, layerName, nameField, options);
    const auto reproject = reprojection(layer, options.targetSrs);

    vec::VectorData data;
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
        if (stored == nullptr) throw GisError(label + " of layer " + quotedText(layerName) + " has no geometry");
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
            throw GisError(label + " of layer " + quotedText(layerName) + ": " + e.what());
        }
        vec::VectorObject object;
        for (const int index : fields) object.values.push_back(attributeText(*feature, index).value_or(""));
        const bool named = nameField >= 0 && feature->IsFieldSetAndNotNull(nameField);
        object.name = named ? vectorFieldText(feature->GetFieldAsString(nameField))
                            : std::to_string(feature->GetFID() == OGRNullFID ? position : feature->GetFID());
        object.type = shape.type;
        object.parts = std::move(shape.parts);
        data.objects.push_back(std::move(object));
    }
    if (data.objects.empty()) throw GisError("layer " + quotedText(layerName) + " of " + gdalPath(source) + " has no features");
    vec::completeLayout(data);
    return data;
}

}  // namespace el::gis
