#include "gis/table_layer.hpp"

#include <span>

#include "gis/gdal_session.hpp"
#include "gis/gis_error.hpp"
#include "gis/layer_export.hpp"

namespace el::gis {
namespace {

OGRFieldType fieldType(ColumnType type) {
    switch (type) {
    case ColumnType::Text: return OFTString;
    case ColumnType::Integer: return OFTInteger;
    case ColumnType::Number: return OFTReal;
    }
    return OFTString;
}

void addColumns(OGRLayer& layer, const PredictionTable& table, const std::filesystem::path& output) {
    for (const TableColumn& column : table.columns) {
        OGRFieldDefn field(column.name.c_str(), fieldType(column.type));
        if (layer.CreateField(&field) != OGRERR_NONE)
            throw GisError("cannot create the attribute \"" + column.name + "\" in " + gdalPath(output) + gdalReason());
    }
}

void setCells(OGRFeature& feature, const PredictionTable& table, const std::vector<TableCell>& cells) {
    for (std::size_t c = 0; c < cells.size() && c < table.columns.size(); ++c) {
        const int field = static_cast<int>(c);
        const TableCell& cell = cells[c];
        if (cell.empty) feature.SetFieldNull(field);
        else if (table.columns[c].type == ColumnType::Text) feature.SetField(field, cell.text.c_str());
        else if (table.columns[c].type == ColumnType::Integer) feature.SetField(field, static_cast<int>(cell.number));
        else feature.SetField(field, cell.number);
    }
}

void writeLayer(GDALDataset& dataset, const PredictionTable& table, const vec::VectorData& data,
                const std::filesystem::path& output) {
    const std::span<const vec::VectorObject> regions(data.objects.data(), table.rows.size());
    writeFeatureLayer(
        dataset, regions, output, [&](OGRLayer& layer) { addColumns(layer, table, output); },
        [&](OGRFeature& feature, std::size_t k) { setCells(feature, table, table.rows[k]); }, "region");
}

}  // namespace

void exportTableLayer(const PredictionTable& table, const vec::VectorData& data, const std::filesystem::path& output) {
    if (table.rows.size() > data.objects.size()) throw GisError("the table has more rows than the data set has regions");
    writeNewDataset(output, [&](GDALDataset& dataset) { writeLayer(dataset, table, data, output); });
}

}  // namespace el::gis
