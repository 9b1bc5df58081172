#include "gis/table_layer.hpp"

#include <gtest/gtest.h>

#include "gis/gis_error.hpp"
#include "tests/gis/gis_fixture.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::test {
namespace {

// Two regions, a square and a point, and a table with one column of each type.
struct SmallTable {
    SmallTable() {
        vec::VectorObject square{{}, "polygon", "Kita", {{"out", {0, 2, 2, 0}, {0, 0, 2, 2}}}};
        vec::VectorObject well{{}, "point", "Well", {{"", {5}, {6}}}};
        data.objects = {square, well};
        data.sizes.objn = 2;
        table.columns = {{"region", ColumnType::Text}, {"number", ColumnType::Integer}, {"Predicted_T", ColumnType::Number}};
        table.rows = {{TableCell::ofText("Kita"), TableCell::ofNumber(1), TableCell::ofNumber(2003.25)},
                      {TableCell::ofText("Well"), TableCell::ofNumber(2), TableCell{}}};
    }
    vec::VectorData data;
    PredictionTable table;
};

TEST(TableLayer, TypedColumnsNullCellsAndGeometriesInEachFormat) {
    TempDir dir;
    const SmallTable small;
    for (const std::string name : {"t.gpkg", "t.geojson"}) {
        SCOPED_TRACE(name);
        const auto file = dir / name;
        gis::exportTableLayer(small.table, small.data, file);
        const auto dataset = openGisFile(file);
        ASSERT_TRUE(dataset);
        OGRLayer& layer = *dataset->GetLayer(0);
        ASSERT_EQ(layer.GetFeatureCount(), 2);
        OGRFeatureDefn& definition = *layer.GetLayerDefn();
        EXPECT_EQ(definition.GetFieldDefn(0)->GetType(), OFTString);
        EXPECT_EQ(definition.GetFieldDefn(1)->GetType(), OFTInteger);
        EXPECT_EQ(definition.GetFieldDefn(2)->GetType(), OFTReal);
        layer.ResetReading();
        gis::FeaturePtr first(layer.GetNextFeature());
        EXPECT_STREQ(first->GetFieldAsString(0), "Kita");
        EXPECT_EQ(first->GetFieldAsInteger(1), 1);
        EXPECT_DOUBLE_EQ(first->GetFieldAsDouble(2), 2003.25);
        EXPECT_EQ(wkbFlatten(first->GetGeometryRef()->getGeometryType()), wkbPolygon);
        gis::FeaturePtr second(layer.GetNextFeature());
        EXPECT_FALSE(second->IsFieldSetAndNotNull(2));
        ASSERT_NE(second->GetGeometryRef(), nullptr);
    }
}

TEST(TableLayer, FailuresLeaveNothing) {
    TempDir dir;
    SmallTable small;
    EXPECT_THROW(gis::exportTableLayer(small.table, small.data, dir / "t.nothing"), gis::GisError);
    // A shapefile holds one kind of geometry: a polygon and a point cannot share it.
    EXPECT_THROW(gis::exportTableLayer(small.table, small.data, dir / "t.shp"), gis::GisError);
    EXPECT_TRUE(filesIn(dir.path()).empty());
    small.data.objects[1].type = "polygon";
    small.data.objects[1].parts[0] = {"out", {5, 6, 6}, {6, 6, 7}};
    gis::exportTableLayer(small.table, small.data, dir / "t.shp");
    const auto dataset = openGisFile(dir / "t.shp");
    ASSERT_TRUE(dataset);
    EXPECT_EQ(dataset->GetLayer(0)->GetFeatureCount(), 2);
    // Shapefile names are cut to ten characters.
    EXPECT_STREQ(dataset->GetLayer(0)->GetLayerDefn()->GetFieldDefn(2)->GetNameRef(), "Predicted_");
}

}  // namespace
}  // namespace el::test
