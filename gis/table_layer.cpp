#include "gis/table_layer.hpp"

#include "gis/gdal_session.hpp"
#include "gis/geometry_shape.hpp"
#include "gis/gis_error.hpp"
#include "gis/layer_export.hpp"

namespace el::gis {
namespace {

OGRFieldType fieldType(engine::ColumnType type) {
    switch (type) {
    case engine::ColumnType::Text: return OFTString;
    case engine::ColumnType::Integer: return OFTInteger;
    case engine::ColumnType::Number: return OFTReal;
    }
    return OFTString;
}

OGRwkbGeometryType flatType(const OGRGeometry& geometry) { return wkbFlatten(geometry.getGeometryType()); }

OGRLayer& createLayer(GDALDataset& dataset, const engine::PredictionTable& table, OGRwkbGeometryType type,
                      const std::filesystem::path& output) {
    OGRLayer* layer = dataset.CreateLayer(gdalPath(output.stem()).c_str(), nullptr, type, nullptr);
    if (layer == nullptr) throw GisError("cannot create a layer in " + gdalPath(output) + gdalReason());
    for (const engine::TableColumn& column : table.columns) {
        OGRFieldDefn field(column.name.c_str(), fieldType(column.type));
        if (layer->CreateField(&field) != OGRERR_NONE)
            throw GisError("cannot create the attribute \"" + column.name + "\" in " + gdalPath(output) + gdalReason());
    }
    return *layer;
}

void setCells(OGRFeature& feature, const engine::PredictionTable& table, const std::vector<engine::TableCell>& cells) {
    for (std::size_t c = 0; c < cells.size() && c < table.columns.size(); ++c) {
        const int field = static_cast<int>(c);
        const engine::TableCell& cell = cells[c];
        if (cell.empty) feature.SetFieldNull(field);
        else if (table.columns[c].type == engine::ColumnType::Text) feature.SetField(field, cell.text.c_str());
        else if (table.columns[c].type == engine::ColumnType::Integer) feature.SetField(field, static_cast<int>(cell.number));
        else feature.SetField(field, cell.number);
    }
}

void writeLayer(GDALDataset& dataset, const engine::PredictionTable& table, const VectorData& data,
                const std::filesystem::path& output) {
    std::vector<std::unique_ptr<OGRGeometry>> geometries;
    std::vector<OGRwkbGeometryType> types;
    for (std::size_t k = 0; k < table.rows.size(); ++k) {
        geometries.push_back(geometryOf(data.objects.at(k)));
        types.push_back(flatType(*geometries.back()));
    }
    const OGRwkbGeometryType layerType = commonLayerType(types);
    OGRLayer& layer = createLayer(dataset, table, layerType, output);
    const bool transaction = dataset.StartTransaction() == OGRERR_NONE;
    for (std::size_t k = 0; k < table.rows.size(); ++k) {
        FeaturePtr feature(OGRFeature::CreateFeature(layer.GetLayerDefn()));
        setCells(*feature, table, table.rows[k]);
        std::unique_ptr<OGRGeometry> geometry = std::move(geometries[k]);
        if (layerType != wkbUnknown && flatType(*geometry) != layerType)
            geometry.reset(OGRGeometryFactory::forceTo(geometry.release(), layerType));
        feature->SetGeometryDirectly(geometry.release());
        if (layer.CreateFeature(feature.get()) != OGRERR_NONE)
            throw GisError("cannot write region \"" + data.objects[k].name + "\" to " + gdalPath(output) + gdalReason());
    }
    if (transaction && dataset.CommitTransaction() != OGRERR_NONE)
        throw GisError("cannot complete " + gdalPath(output) + gdalReason());
}

}  // namespace

void exportTableLayer(const engine::PredictionTable& table, const VectorData& data, const std::filesystem::path& output) {
    if (table.rows.size() > data.objects.size()) throw GisError("the table has more rows than the data set has regions");
    writeNewDataset(output, [&](GDALDataset& dataset) { writeLayer(dataset, table, data, output); });
}

}  // namespace el::gis
