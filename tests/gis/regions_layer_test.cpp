#include "gis/regions_layer.hpp"

#include <algorithm>

#include <gtest/gtest.h>

#include "gis/gis_error.hpp"
#include "tests/gis/gis_fixture.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::test {
namespace {

using gis::GisError;
using gis::readRegionsLayer;
using gis::RegionsLayer;
using Texts = std::vector<std::string>;

// Outlines as world files hold them: a country whose first part is a small island, a ring
// across the antimeridian, a bow tie, and a neighbour sharing an edge with the first.
LayerSpec outlines() {
    return {"countries",
            {{"name", OFTString}, {"code", OFTString}, {"num", OFTInteger}},
            {{"MULTIPOLYGON (((9 41,9.5 41,9.5 42,9 42,9 41)),((0 43,8 43,8 50,0 50,0 43)))", {"France", "008", "8"}},
             {"POLYGON ((170 50,-170 50,-170 70,170 70,170 50))", {"Russia", "643", "643"}},
             {"POLYGON ((20 0,30 10,30 0,20 10,20 0))", {"Bowtie", "010", "10"}},
             {"POLYGON ((8 43,12 43,12 50,8 50,8 43))", {"Neighbour", "020", "20"}},
             {"POLYGON ((-180 -90,-180 -60,0 -65,180 -60,180 -90,-180 -90))", {"Antarctica", "010A", "11"}}}};
}

std::string regionAt(const RegionsLayer& layer, double lon, double lat) {
    const std::optional<std::size_t> index = layer.locator->regionAt(lon, lat);
    return index ? layer.keys[*index] : "(none)";
}

std::string errorOf(const std::filesystem::path& file, const std::string& layer, const std::string& key) {
    try {
        readRegionsLayer(file, layer, key);
    } catch (const GisError& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(RegionsLayer, PointsLandInIslandsAcrossTheAntimeridianAndInRepairedPolygons) {
    TempDir dir;
    writeGisFile(dir / "w.geojson", "GeoJSON", {outlines()});
    const RegionsLayer layer = readRegionsLayer(dir / "w.geojson", "", "");
    EXPECT_EQ(layer.keys, (Texts{"France", "Russia", "Bowtie", "Neighbour", "Antarctica"}));
    EXPECT_EQ(regionAt(layer, 9.2, 41.5), "France");  // the island, first part
    EXPECT_EQ(regionAt(layer, 4, 46), "France");
    EXPECT_EQ(regionAt(layer, 175, 60), "Russia");
    EXPECT_EQ(regionAt(layer, -175, 60), "Russia");
    EXPECT_EQ(regionAt(layer, 180, 55), "Russia");
    EXPECT_EQ(regionAt(layer, -165, 60), "(none)");
    EXPECT_EQ(regionAt(layer, 165, 60), "(none)");
    EXPECT_EQ(regionAt(layer, 0, 60), "(none)");  // what a band across the map would catch
    EXPECT_EQ(regionAt(layer, 21, 5), "Bowtie");
    EXPECT_EQ(regionAt(layer, 29, 5), "Bowtie");
    EXPECT_EQ(regionAt(layer, 25, 2), "(none)");
    EXPECT_EQ(regionAt(layer, -100, -80), "Antarctica");  // a ring around the pole stays as stored
    EXPECT_EQ(regionAt(layer, 100, -80), "Antarctica");
    EXPECT_EQ(regionAt(layer, 100, -50), "(none)");
}

TEST(RegionsLayer, APointOnASharedEdgeGoesToTheFirstFeature) {
    TempDir dir;
    writeGisFile(dir / "w.geojson", "GeoJSON", {outlines()});
    const RegionsLayer layer = readRegionsLayer(dir / "w.geojson", "", "code");
    EXPECT_EQ(regionAt(layer, 8, 46), "008");
    EXPECT_EQ(regionAt(layer, 8, 43), "008");  // a shared corner
    EXPECT_EQ(regionAt(layer, 12, 46), "020");  // an edge of one region only
    LayerSpec reversed = outlines();
    std::reverse(reversed.features.begin(), reversed.features.end());
    writeGisFile(dir / "r.geojson", "GeoJSON", {reversed});
    EXPECT_EQ(regionAt(readRegionsLayer(dir / "r.geojson", "", "code"), 8, 46), "020");
}

TEST(RegionsLayer, ShapesKeepTheStoredCoordinates) {
    TempDir dir;
    writeGisFile(dir / "w.geojson", "GeoJSON", {outlines()});
    const RegionsLayer layer = readRegionsLayer(dir / "w.geojson", "", "code");
    const vec::RegionShape& russia = layer.shapes.at("643");
    EXPECT_EQ(russia.type, "polygon");
    ASSERT_EQ(russia.parts.size(), 1U);
    EXPECT_DOUBLE_EQ(russia.parts[0].x[1], -170);
    const vec::RegionShape& france = layer.shapes.at("008");
    EXPECT_EQ(france.type, "area");
    EXPECT_EQ(france.parts.size(), 2U);
}

TEST(RegionsLayer, KeysAreFieldTexts) {
    TempDir dir;
    writeGisFile(dir / "w.gpkg", "GPKG", {outlines()});
    const RegionsLayer codes = readRegionsLayer(dir / "w.gpkg", "countries", "CODE");
    EXPECT_EQ(codes.keys, (Texts{"008", "643", "010", "020", "010A"}));
    EXPECT_EQ(codes.keyField, "code");
    EXPECT_EQ(codes.shapes.count("008"), 1U);
    const RegionsLayer numbers = readRegionsLayer(dir / "w.gpkg", "", "num");
    EXPECT_EQ(numbers.keys, (Texts{"8", "643", "10", "20", "11"}));
}

TEST(RegionsLayer, MissingFieldsAreRefusedByName) {
    TempDir dir;
    writeGisFile(dir / "s.gpkg", "GPKG", {outlines(), {"other", {{"id", OFTString}}, {{"POINT (1 1)", {"a"}}}}});
    const std::string missing = errorOf(dir / "s.gpkg", "", "iso");
    EXPECT_NE(missing.find("no field named \"iso\" (fields: name, code, num)"), std::string::npos) << missing;
    EXPECT_NE(missing.find("layers are countries, other"), std::string::npos) << missing;
    const std::string noName = errorOf(dir / "s.gpkg", "other", "");
    EXPECT_NE(noName.find("(fields: id)"), std::string::npos) << noName;
}

// A layer as world outline files come: features without a code, one without geometry, and
// a country whose far island is a feature of its own under the same code.
LayerSpec worldAsItComes() {
    return {"countries",
            {{"name", OFTString}, {"id", OFTString}},
            {{"POLYGON ((0 0,10 0,10 10,0 10,0 0))", {"Mainland", "036"}},
             {"POLYGON ((20 0,22 0,22 2,20 2,20 0))", {"Disputed", std::nullopt}},
             {"POLYGON ((30 0,32 0,32 2,30 2,30 0))", {"Also disputed", ""}},
             {"MULTIPOLYGON (((40 0,41 0,41 1,40 1,40 0)),((42 0,43 0,43 1,42 1,42 0)))", {"Islands", "036"}},
             {"", {"Lost", "999"}},
             {"POLYGON ((50 0,60 0,60 10,50 10,50 0))", {"Neighbour", "554"}}}};
}

TEST(RegionsLayer, KeylessAndEmptyFeaturesAreLeftOutAndSharedKeysJoined) {
    TempDir dir;
    writeGisFile(dir / "w.gpkg", "GPKG", {worldAsItComes()});
    const RegionsLayer layer = readRegionsLayer(dir / "w.gpkg", "", "id");
    EXPECT_EQ(layer.keys, (Texts{"036", "554"}));
    EXPECT_EQ(layer.featuresWithoutKey, 2);
    EXPECT_EQ(layer.featuresWithoutGeometry, 1);
    EXPECT_EQ(layer.sharedKeys, Texts{"036"});
    EXPECT_EQ(layer.featuresJoined, 2);
    const vec::RegionShape& joined = layer.shapes.at("036");
    EXPECT_EQ(joined.type, "area");
    ASSERT_EQ(joined.parts.size(), 3U);  // the mainland first, then both islands
    EXPECT_DOUBLE_EQ(joined.parts[0].x[1], 10);
    EXPECT_DOUBLE_EQ(joined.parts[2].x[0], 42);
    EXPECT_EQ(regionAt(layer, 5, 5), "036");
    EXPECT_EQ(regionAt(layer, 42.5, 0.5), "036");  // a point on the second feature's island
    EXPECT_EQ(regionAt(layer, 55, 5), "554");
    EXPECT_EQ(regionAt(layer, 21, 1), "(none)");  // keyless features place no point
    EXPECT_EQ(gis::layerNote(layer),
              "; 2 features of the regions layer with an empty \"id\" left out; 1 feature of the regions layer "
              "without geometry left out; 2 features of the regions layer joined into 1 region by their shared "
              "\"id\": \"036\"");
    // Keyed by a field that every feature fills: nothing to say.
    EXPECT_EQ(gis::layerNote(readRegionsLayer(dir / "w.gpkg", "", "name")),
              "; 1 feature of the regions layer without geometry left out");
}

TEST(RegionsLayer, SharedKeysOfLinesJoinButMixedKindsAreRefused) {
    TempDir dir;
    LayerSpec rivers{"rivers",
                     {{"name", OFTString}},
                     {{"LINESTRING (0 0,1 1)", {"Rhine"}}, {"MULTILINESTRING ((2 2,3 3),(4 4,5 5))", {"Rhine"}}}};
    writeGisFile(dir / "r.gpkg", "GPKG", {rivers});
    const RegionsLayer lines = readRegionsLayer(dir / "r.gpkg", "", "");
    EXPECT_EQ(lines.shapes.at("Rhine").type, "tree");
    EXPECT_EQ(lines.shapes.at("Rhine").parts.size(), 3U);
    LayerSpec mixed{"mixed",
                    {{"name", OFTString}},
                    {{"POLYGON ((0 0,1 0,1 1,0 0))", {"A"}},
                     {"POINT (5 5)", {"A"}},
                     {"POINT (6 6)", {"B"}},
                     {"POINT (7 7)", {"B"}}}};
    writeGisFile(dir / "m.gpkg", "GPKG", {mixed});
    const std::string refused = errorOf(dir / "m.gpkg", "", "");
    EXPECT_NE(refused.find("the key \"A\" of field \"name\" is shared by features"), std::string::npos) << refused;
    EXPECT_NE(refused.find("Polygon and Point"), std::string::npos) << refused;
}

TEST(RegionsLayer, ALayerWithoutAnyUsableFeatureSaysWhy) {
    TempDir dir;
    writeGisFile(dir / "e.gpkg", "GPKG",
                 {{"c", {{"name", OFTString}}, {{"POINT (1 1)", {std::nullopt}}, {"", {"x"}}}}});
    const std::string refused = errorOf(dir / "e.gpkg", "", "");
    EXPECT_NE(refused.find("has no features with both a key in field \"name\" and a geometry (1 feature has an empty "
                           "key, 1 feature has no geometry)"),
              std::string::npos)
        << refused;
}

TEST(RegionsLayer, ALayerInAnotherCoordinateSystemIsReprojected) {
    TempDir dir;
    // 0..10 degrees of longitude and latitude in Web Mercator metres.
    LayerSpec mercator{"merc", {{"name", OFTString}},
                       {{"POLYGON ((0 0,1113194.9 0,1113194.9 1118890,0 1118890,0 0))", {"square"}}}, 3857};
    writeGisFile(dir / "m.gpkg", "GPKG", {mercator});
    const RegionsLayer layer = readRegionsLayer(dir / "m.gpkg", "", "");
    EXPECT_EQ(regionAt(layer, 5, 5), "square");
    EXPECT_EQ(regionAt(layer, 11, 5), "(none)");
    const vec::VectorPart& ring = layer.shapes.at("square").parts.at(0);
    EXPECT_NEAR(ring.x[1], 10.0, 1e-6);
    EXPECT_NEAR(ring.y[2], 10.0, 1e-4);
}

// World outlines as TopoJSON: quantized arcs, keys in the feature ids ("008"), one country
// in two overlapping parts, the second crossing the antimeridian.
constexpr const char* kTopology = R"({"type":"Topology",
 "transform":{"scale":[0.5,0.5],"translate":[-180,-90]},
 "objects":{"countries":{"type":"GeometryCollection","geometries":[
  {"type":"Polygon","id":"008","properties":{"name":"Albania"},"arcs":[[0]]},
  {"type":"MultiPolygon","id":"643","properties":{"name":"Russia"},"arcs":[[[1]],[[2]]]}]}},
 "arcs":[[[398,260],[4,0],[0,4],[-4,0],[0,-4]],
         [[700,280],[40,0],[0,40],[-40,0],[0,-40]],
         [[710,280],[-690,0],[0,40],[690,0],[0,-40]]]})";

TEST(RegionsLayer, TopoJsonOutlinesKeyedByTheirIds) {
    TempDir dir;
    writeFile(dir / "world.topojson", kTopology);
    const RegionsLayer layer = readRegionsLayer(dir / "world.topojson", "", "id");
    EXPECT_EQ(layer.keys, (Texts{"008", "643"}));
    EXPECT_EQ(regionAt(layer, 20, 41), "008");
    EXPECT_EQ(regionAt(layer, 177, 60), "643");  // where the parts overlap
    EXPECT_EQ(regionAt(layer, -175, 60), "643");
    EXPECT_EQ(regionAt(layer, -165, 60), "(none)");
    EXPECT_EQ(regionAt(layer, 0, 60), "(none)");
}

}  // namespace
}  // namespace el::test
