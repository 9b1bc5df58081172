#include "gis/layer_export.hpp"

#include <sstream>

#include <gtest/gtest.h>

#include "gis/convert_command.hpp"
#include "gis/gis_error.hpp"
#include "tests/gis/gis_fixture.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::test {
namespace {

// A vector file after a write-back: prediction columns with numbers, "Unpredictable" and gaps.
const std::string kPredicted = crlf({
    "vector",
    "after a run",
    "Invader,Number of viable pairs of early-late relation,Relative infestation date,Predicted_Invader,"
    "Predicted_SpA,type$,name$,n,x1,y1,x2,y2,x3,y3,x4,y4,x5,y5,x6,y6,x7,y7,x8,y8,x9,y9",
    "1998,4,0.5, 1998.5,Unpredictable,area,\"Kita, East\",2,outer,4,0,0,9,0,9,9,0,9,hole,3,1,1,2,1,2,2",
    ",3,-0.25, 2003,Unpredictable,polygon,Minami,3,20,0,30,0,30,5",
    "Arrived,0,,,,tree,River,2,a,2,0,0,1,1,b,2,5,5,6,6",
    "NULL,1,1, 2001,Unpredictable,point,Well,1,7,8",
});

struct Row {
    std::vector<std::string> texts;  // "<null>" for a null field
    std::string wkt;
};

std::vector<Row> rowsOf(OGRLayer& layer) {
    std::vector<Row> rows;
    layer.ResetReading();
    while (gis::FeaturePtr f{layer.GetNextFeature()}) {
        Row row;
        for (int i = 0; i < f->GetFieldCount(); ++i)
            row.texts.push_back(f->IsFieldSetAndNotNull(i) ? f->GetFieldAsString(i) : "<null>");
        row.wkt = f->GetGeometryRef() ? wktOf(*f->GetGeometryRef()) : "";
        rows.push_back(row);
    }
    return rows;
}

// The converter working in `dir`: the file names in `args` are taken there.
int convert(const TempDir& dir, std::vector<std::string> args, std::string* errors = nullptr) {
    for (std::string& arg : args) arg = (dir / arg).string();
    std::ostringstream out, err;
    const int status = gis::runConvert(args, out, err, dir.path());
    if (errors) *errors = err.str();
    return status;
}

TEST(ExportVectorFile, PredictionColumnsAndGeometriesReachTheLayer) {
    TempDir dir;
    writeFile(dir / "pred.csv", kPredicted);
    ASSERT_EQ(convert(dir, {"pred.csv", "pred.gpkg"}), 0);
    const auto dataset = openGisFile(dir / "pred.gpkg");
    ASSERT_TRUE(dataset);
    OGRLayer& layer = *dataset->GetLayer(0);
    EXPECT_STREQ(layer.GetName(), "pred");
    const OGRFeatureDefn& definition = *layer.GetLayerDefn();
    std::vector<std::string> names;
    std::string types;
    for (int i = 0; i < definition.GetFieldCount(); ++i) {
        names.push_back(definition.GetFieldDefn(i)->GetNameRef());
        types += definition.GetFieldDefn(i)->GetType() == OFTReal ? 'R' : 'S';
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Invader", "Number of viable pairs of early-late relation",
                                               "Relative infestation date", "Predicted_Invader", "Predicted_SpA",
                                               "name"}));
    EXPECT_EQ(types, "SRRRSS");  // "Arrived" keeps the first column text; gaps and "NULL" do not count

    const auto rows = rowsOf(layer);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].texts, (std::vector<std::string>{"1998", "4", "0.5", "1998.5", "Unpredictable", "Kita, East"}));
    EXPECT_EQ(rows[1].texts, (std::vector<std::string>{"<null>", "3", "-0.25", "2003", "Unpredictable", "Minami"}));
    EXPECT_EQ(rows[2].texts, (std::vector<std::string>{"Arrived", "0", "<null>", "<null>", "<null>", "River"}));
    EXPECT_EQ(rows[3].texts[0], "<null>");
    EXPECT_EQ(rows[0].wkt, "MULTIPOLYGON (((0 0,9 0,9 9,0 9,0 0),(1 1,2 1,2 2,1 1)))");
    EXPECT_EQ(rows[1].wkt, "POLYGON ((20 0,30 0,30 5,20 0))");  // mixed kinds: the layer takes any geometry
    EXPECT_EQ(rows[2].wkt, "MULTILINESTRING ((0 0,1 1),(5 5,6 6))");
    EXPECT_EQ(rows[3].wkt, "POINT (7 8)");
}

TEST(ExportVectorFile, OneKindLayersAndFailures) {
    TempDir dir;
    writeFile(dir / "polys.csv", crlf({"vector", "c", "name,type$,name$,n,x1,y1,x2,y2,x3,y3,x4,y4",
                                       "7,polygon,A,3,0,0,1,0,1,1", "8,area,B,1,outer,3,5,5,6,5,6,6"}));
    ASSERT_EQ(convert(dir, {"polys.csv", "polys.geojson"}), 0);
    const auto dataset = openGisFile(dir / "polys.geojson");
    ASSERT_TRUE(dataset);
    OGRLayer& layer = *dataset->GetLayer(0);
    EXPECT_EQ(layer.GetLayerDefn()->GetFieldDefn(1)->GetNameRef(), std::string("object_name"));
    const auto rows = rowsOf(layer);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].wkt, "MULTIPOLYGON (((0 0,1 0,1 1,0 0)))");  // promoted to the layer's kind
    EXPECT_EQ(rows[1].texts, (std::vector<std::string>{"8", "B"}));

    // A shapefile holds one kind of geometry: a mixed file fails and leaves nothing behind.
    writeFile(dir / "mixed.csv", kPredicted);
    std::string errors;
    EXPECT_EQ(convert(dir, {"mixed.csv", "mixed.shp"}, &errors), 1);
    EXPECT_EQ(errors.rfind("earlylate: cannot write object", 0), 0u) << errors;
    EXPECT_FALSE(std::filesystem::exists(dir / "mixed.shp"));
    EXPECT_FALSE(std::filesystem::exists(dir / "mixed.dbf"));

    EXPECT_EQ(convert(dir, {"polys.csv", "polys.xyz"}, &errors), 1);
    EXPECT_EQ(errors, "earlylate: no GIS format is known for the extension of " + (dir / "polys.xyz").string() +
                          " (use .gpkg, .shp or .geojson)\n");
    writeFile(dir / "bad.csv", "raster\r\nc\r\n");
    EXPECT_EQ(convert(dir, {"bad.csv", "bad.gpkg"}, &errors), 1);
    EXPECT_NE(errors.find("earlylate: cannot read the vector file " + (dir / "bad.csv").string()), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "bad.gpkg"));
    // The failed scan's side log is in the converter's folder.
    EXPECT_TRUE(std::filesystem::exists(dir / "VectorFileSize.log"));
}

// A one-file format is made beside the output and put in place whole: a failed export
// leaves the previous file as it was and no temporary file beside it.
TEST(ExportVectorFile, AFailedOneFileExportKeepsThePreviousFile) {
    TempDir dir;
    for (const std::string name : {"p.gpkg", "p.geojson"}) {
        writeFile(dir / name, "previous");
        EXPECT_THROW(gis::writeNewDataset(dir / name, [](GDALDataset&) { throw gis::GisError("stopped"); }),
                     gis::GisError);
        EXPECT_EQ(readFile(dir / name), "previous");
    }
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"p.geojson", "p.gpkg"}));
    writeFile(dir / "polys.csv",
              crlf({"vector", "c", "name,type$,name$,n,x1,y1,x2,y2,x3,y3", "7,polygon,A,3,0,0,1,0,1,1"}));
    ASSERT_EQ(convert(dir, {"polys.csv", "p.gpkg"}), 0);
    ASSERT_TRUE(openGisFile(dir / "p.gpkg"));
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"p.geojson", "p.gpkg", "polys.csv"}));
}

}  // namespace
}  // namespace el::test
