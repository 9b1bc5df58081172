#include "gis/layer_import.hpp"

#include <gtest/gtest.h>

#include "fuzz/gis_import_entry.hpp"
#include "gis/gis_error.hpp"
#include "tests/gis/gis_fixture.hpp"
#include "tests/support/recording_host.hpp"
#include "tests/support/temp_dir.hpp"
#include "vector/vector_file.hpp"

namespace el::test {
namespace {

using gis::GisError;
using gis::ImportOptions;
using gis::importLayer;
using Texts = std::vector<std::string>;

// Regions of an invasion: dates, keywords and gaps of every attribute type.
LayerSpec invasionLayer() {
    return {"regions",
            {{"Invader", OFTInteger}, {"Region Name", OFTString}, {"Rate", OFTReal}, {"Seen", OFTDate},
             {"Status", OFTString}, {"Logged", OFTDateTime}, {"Big", OFTInteger64}},
            {{"POLYGON ((0 0,10 0,10 10,0 10,0 0),(2 2,4 2,4 4,2 2))",
              {"1998", "Kita, East", "0.25", "2001-01-01", "Arrived", "2004-01-02 12:00:00", "123456789012345678"}},
             {"MULTIPOLYGON (((20 0,30 0,30 10,20 0)),((40 0,50 0,50 10,40 0)))",
              {std::nullopt, "Minami", "-2.5", "2000-03-01", "未分布", std::nullopt, "7"}},
             {"POLYGON ((60 0,70 0,70 10,60 0))",
              {"2003", std::nullopt, "1e-7", std::nullopt, "say \"hi\"", "2001-01-01 00:00:00", std::nullopt}}}};
}

TEST(ImportLayer, AttributeTypesBecomeValueTexts) {
    TempDir dir;
    writeGisFile(dir / "a.gpkg", "GPKG", {invasionLayer()});
    const vec::VectorData data = importLayer(dir / "a.gpkg", {});
    ASSERT_TRUE(data.consistent());
    EXPECT_EQ(data.valname, (Texts{"Invader", "Region Name", "Rate", "Seen", "Status", "Logged", "Big", "type$",
                                   "name$", "count", "x1", "y1", "x2", "y2", "x3", "y3", "x4", "y4", "x5", "y5",
                                   "x6", "y6", "x7", "y7", "x8", "y8", "x9", "y9"}));
    EXPECT_EQ(data.objects[0].values,
              (Texts{"1998", "Kita, East", "0.25", "2001", "Arrived", "2004.00409836066", "123456789012345678"}));
    EXPECT_EQ(data.objects[1].values, (Texts{"", "Minami", "-2.5", "2000.16393442623", "未分布", "", "7"}));
    EXPECT_EQ(data.objects[2].values, (Texts{"2003", "", "1E-07", "", "say \"hi\"", "2001", ""}));
    // Without a "name" field the feature ids name the regions.
    EXPECT_EQ(data.objects[0].name, "1");
    EXPECT_EQ(data.objects[2].name, "3");
}

TEST(ImportLayer, GeometriesSizesAndTheFileReadBack) {
    TempDir dir;
    LayerSpec layer = invasionLayer();
    layer.features.push_back({"LINESTRING (0 0,1 1)", {"1990"}});
    layer.features.push_back({"POINT (5 6)", {"1991"}});
    layer.features.push_back({"MULTILINESTRING ((0 0,1 1),(2 2,3 3,4 4))", {"1992"}});
    writeGisFile(dir / "a.geojson", "GeoJSON", {layer});

    ImportOptions options;
    options.nameField = "region name";  // any letter case finds the field
    vec::VectorData data = importLayer(dir / "a.geojson", options);
    EXPECT_EQ(data.sizes.objn, 6);
    EXPECT_EQ(data.sizes.valn, 6);
    EXPECT_EQ(data.sizes.maxline, 3 + (2 + 8) + (2 + 6));  // the polygon with its hole
    EXPECT_EQ(data.sizes.maxpolygon, 2);
    EXPECT_EQ(data.sizes.maxnode, 4);

    RecordingHost host;
    ASSERT_EQ(vec::VectorFileWrite(dir / "out.csv", data, "", host), 0);
    const vec::ReadOutcome back = vec::readVectorFile(dir / "out.csv", "null", host, {});
    ASSERT_EQ(back.erf, 0) << (host.messages.empty() ? "" : host.messages.back());
    EXPECT_EQ(back.data.sizes.objn, 6);
    EXPECT_EQ(back.data.sizes.maxline, data.sizes.maxline);
    // Each geometry's shape is checked in geometry_shape_test.cpp. Null names fall back to the
    // feature ids, which GeoJSON counts from 0.
    Texts names;
    for (const auto& o : back.data.objects) names.push_back(o.name);
    EXPECT_EQ(names, (Texts{"Kita, East", "Minami", "2", "3", "4", "5"}));
    EXPECT_EQ(back.data.objects[0].type, "area");
    EXPECT_EQ(back.data.objects[1].values[0], "null");
    EXPECT_EQ(back.data.objects[2].values[3], "say \"hi\"");
}

TEST(ImportLayer, NameFieldSpeciesOrderLayerAndReprojection) {
    TempDir dir;
    LayerSpec places{"places",
                     {{"NAME", OFTString}, {"b", OFTInteger}, {"a", OFTInteger}},
                     {{"POINT (1 0)", {"P1", "10", "20"}}},
                     4326};
    LayerSpec other{"other", {{"z", OFTString}}, {{"POINT (0 0)", {"zz"}}}};
    writeGisFile(dir / "m.gpkg", "GPKG", {places, other});

    vec::VectorData first = importLayer(dir / "m.gpkg", {});
    EXPECT_EQ(first.objects[0].name, "P1");  // "NAME" taken as the name field
    EXPECT_EQ(first.objects[0].values, (Texts{"10", "20"}));

    ImportOptions options;
    options.species = Texts{"a", "NAME"};
    options.nameField = "b";
    options.targetSrs = "EPSG:3857";
    vec::VectorData chosen = importLayer(dir / "m.gpkg", options);
    EXPECT_EQ(chosen.objects[0].values, (Texts{"20", "P1"}));
    EXPECT_EQ(chosen.objects[0].name, "10");
    EXPECT_NEAR(chosen.objects[0].parts[0].x[0], 111319.49, 0.01);  // one degree east on the equator
    EXPECT_NEAR(chosen.objects[0].parts[0].y[0], 0.0, 1e-6);

    options = {};
    options.layer = "other";
    EXPECT_EQ(importLayer(dir / "m.gpkg", options).objects[0].values, (Texts{"zz"}));
}

std::string errorOf(const std::filesystem::path& file, const ImportOptions& options = {}) {
    try {
        importLayer(file, options);
    } catch (const GisError& e) {
        return e.what();
    }
    return "no error";
}

TEST(ImportLayer, BadInputsGiveClearErrors) {
    TempDir dir;
    writeFile(dir / "plain.geojson", "this is not json");
    writeGisFile(dir / "e.gpkg", "GPKG", {{"empty", {{"a", OFTInteger}}, {}}});
    writeGisFile(dir / "g.gpkg", "GPKG",
                 {{"bare", {{"a", OFTInteger}}, {{"", {"1"}}}},
                  {"multi", {{"a", OFTInteger}}, {{"MULTIPOINT ((0 0),(1 1))", {"1"}}}},
                  {"noattr", {}, {{"POINT (0 0)", {}}}},
                  {"plain", {{"name", OFTString}, {"TYPE$", OFTString}}, {{"POINT (0 0)", {"n", "t"}}}}});
    EXPECT_NE(errorOf(dir / "plain.geojson").find("is not a GIS vector file"), std::string::npos);
    EXPECT_NE(errorOf(dir / "missing.gpkg").find("no such file"), std::string::npos);
    EXPECT_EQ(errorOf(dir / "e.gpkg"), "layer \"empty\" of " + (dir / "e.gpkg").string() + " has no features");
    ImportOptions options;
    options.layer = "nope";
    EXPECT_EQ(errorOf(dir / "g.gpkg", options),
              (dir / "g.gpkg").string() + " has no layer named \"nope\" (layers: bare, multi, noattr, plain)");
    options.layer = "bare";
    EXPECT_EQ(errorOf(dir / "g.gpkg", options), "feature 1 of layer \"bare\" has no geometry");
    options.layer = "multi";
    EXPECT_EQ(errorOf(dir / "g.gpkg", options),
              "feature 1 of layer \"multi\": a multipoint of 2 points cannot be one region");
    options.layer = "noattr";
    EXPECT_EQ(errorOf(dir / "g.gpkg", options), "layer \"noattr\" has no attribute field to take as a species");
    options.layer = "plain";
    EXPECT_NE(errorOf(dir / "g.gpkg", options).find("\"type$\" is reserved"), std::string::npos);
    options.species = Texts{"name", "nope"};
    EXPECT_EQ(errorOf(dir / "g.gpkg", options), "layer \"plain\" has no field named \"nope\" (fields: name, TYPE$)");
    // A shapefile without its .prj has no coordinate system to start from.
    writeGisFile(dir / "s.shp", "ESRI Shapefile", {{"s", {{"a", OFTInteger}}, {{"POINT (0 0)", {"1"}}}}});
    options = {};
    options.targetSrs = "EPSG:3857";
    EXPECT_EQ(errorOf(dir / "s.shp", options), "layer \"s\" has no coordinate system, so it cannot be reprojected");
    options.targetSrs = "EPSG:nonsense";
    EXPECT_NE(errorOf(dir / "s.shp", options).find("\"EPSG:nonsense\" is not understood"), std::string::npos);
    options.targetSrs = "EPSG:3857";
    options.layer = "plain";  // a GeoPackage layer written without one
    options.species = Texts{"name"};
    EXPECT_NE(errorOf(dir / "g.gpkg", options).find("has no coordinate system"), std::string::npos);
}

// Every input the GIS import's fuzzer kept runs once through the same entry, so a fault
// that was found and fixed stays fixed.
TEST(ImportLayer, EveryKeptFuzzInputImportsWithoutAFault) {
    const std::filesystem::path folder = std::filesystem::path(EARLYLATE_SOURCE_DIR) / "fuzz" / "corpus-gis-import";
    std::size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        SCOPED_TRACE(entry.path().string());
        EXPECT_EQ(fuzz::gisImportOnBytes(readFile(entry.path())), 0);
        ++count;
    }
    EXPECT_GE(count, 5u);
}

}  // namespace
}  // namespace el::test
