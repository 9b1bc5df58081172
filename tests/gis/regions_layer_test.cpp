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

TEST(RegionsLayer, BadKeysAndFieldsAreRefusedByName) {
    TempDir dir;
    LayerSpec shared = outlines();
    shared.features[3].values[1] = "008";
    shared.features[2].values[0] = std::nullopt;
    shared.features[4].wkt = "";
    writeGisFile(dir / "s.gpkg", "GPKG", {shared, {"other", {{"id", OFTString}}, {{"POINT (1 1)", {"a"}}}}});
    const std::string duplicated = errorOf(dir / "s.gpkg", "", "code");
    EXPECT_NE(duplicated.find("\"008\""), std::string::npos) << duplicated;
    EXPECT_NE(duplicated.find("feature 1 "), std::string::npos) << duplicated;
    EXPECT_NE(duplicated.find("feature 4 "), std::string::npos) << duplicated;
    const std::string empty = errorOf(dir / "s.gpkg", "", "name");
    EXPECT_NE(empty.find("feature 3 of layer \"countries\" has an empty key"), std::string::npos) << empty;
    const std::string missing = errorOf(dir / "s.gpkg", "", "iso");
    EXPECT_NE(missing.find("no field named \"iso\" (fields: name, code, num)"), std::string::npos) << missing;
    EXPECT_NE(missing.find("layers are countries, other"), std::string::npos) << missing;
    const std::string noName = errorOf(dir / "s.gpkg", "other", "");
    EXPECT_NE(noName.find("(fields: id)"), std::string::npos) << noName;
    const std::string noGeometry = errorOf(dir / "s.gpkg", "", "num");
    EXPECT_NE(noGeometry.find("feature 5 of layer \"countries\" (key \"11\") has no geometry"), std::string::npos)
        << noGeometry;
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
