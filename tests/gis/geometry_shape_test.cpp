#include "gis/geometry_shape.hpp"

#include <cmath>

#include <gtest/gtest.h>

#include "gis/gis_error.hpp"
#include "tests/gis/gis_fixture.hpp"

namespace el::gis {
namespace {

VectorShape shapeOfWkt(const std::string& wkt) {
    OGRGeometry* raw = nullptr;
    EXPECT_EQ(OGRGeometryFactory::createFromWkt(wkt.c_str(), nullptr, &raw), OGRERR_NONE) << wkt;
    std::unique_ptr<OGRGeometry> geometry(raw);
    return shapeOf(*geometry);
}

std::vector<std::string> labels(const VectorShape& shape) {
    std::vector<std::string> out;
    for (const auto& part : shape.parts) out.push_back(part.mergin + ":" + std::to_string(part.polygonnode()));
    return out;
}

using Labels = std::vector<std::string>;

TEST(ShapeOf, PolygonsAndAreas) {
    const VectorShape ring = shapeOfWkt("POLYGON ((0 0,4 0,4 3,0 0))");
    EXPECT_EQ(ring.type, "polygon");
    EXPECT_EQ(labels(ring), (Labels{"out:3"}));  // closing node dropped
    EXPECT_EQ(ring.parts[0].x, (std::vector<double>{0, 4, 4}));
    EXPECT_EQ(ring.parts[0].y, (std::vector<double>{0, 0, 3}));

    const VectorShape holed = shapeOfWkt("POLYGON ((0 0,9 0,9 9,0 9,0 0),(1 1,2 1,2 2,1 1))");
    EXPECT_EQ(holed.type, "area");
    EXPECT_EQ(labels(holed), (Labels{"outer:4", "hole:3"}));

    const VectorShape multi =
        shapeOfWkt("MULTIPOLYGON (((0 0,9 0,9 9,0 0),(1 1,2 1,2 2,1 1)),((20 0,30 0,30 5,25 8,20 0)))");
    EXPECT_EQ(multi.type, "area");
    EXPECT_EQ(labels(multi), (Labels{"outer:3", "hole:3", "outer:4"}));
    EXPECT_EQ(shapeOfWkt("MULTIPOLYGON (((0 0,1 0,1 1,0 0)))").type, "area");
}

TEST(ShapeOf, LinesPointsAndOthers) {
    const VectorShape line = shapeOfWkt("LINESTRING Z (0 0 5,1 1 5,0 0 5)");
    EXPECT_EQ(line.type, "line");
    EXPECT_EQ(labels(line), (Labels{"root:3"}));  // a line keeps every node

    EXPECT_EQ(labels(shapeOfWkt("MULTILINESTRING ((0 0,1 1),(2 2,3 3,4 4))")), (Labels{"line:2", "line:3"}));
    EXPECT_EQ(shapeOfWkt("MULTILINESTRING ((0 0,1 1))").type, "tree");

    const VectorShape point = shapeOfWkt("POINT (3.5 -2)");
    EXPECT_EQ(point.type, "point");
    EXPECT_EQ(labels(point), (Labels{":1"}));
    EXPECT_EQ(point.parts[0].x[0], 3.5);
    EXPECT_EQ(shapeOfWkt("MULTIPOINT ((1 2))").type, "point");

    EXPECT_EQ(shapeOfWkt("CIRCULARSTRING (0 0,1 1,2 0)").type, "line");
    EXPECT_THROW(shapeOfWkt("MULTIPOINT ((1 2),(3 4))"), GisError);
    EXPECT_THROW(shapeOfWkt("POLYGON EMPTY"), GisError);
    EXPECT_THROW(shapeOfWkt("GEOMETRYCOLLECTION (POINT (1 1))"), GisError);
    OGRLineString infinite;
    infinite.addPoint(0, 0);
    infinite.addPoint(HUGE_VAL, 1);
    EXPECT_THROW(shapeOf(infinite), GisError);
}

vec::VectorObject object(const std::string& type, std::vector<vec::VectorPart> parts) {
    vec::VectorObject o;
    o.type = type;
    o.name = "R";
    o.parts = std::move(parts);
    return o;
}

TEST(GeometryOf, EveryTypeAndHolesFollowTheirOuterRing) {
    const vec::VectorPart square{"outer", {0, 9, 9, 0}, {0, 0, 9, 9}};
    const vec::VectorPart hole{"hole", {1, 2, 2}, {1, 1, 2}};
    const vec::VectorPart island{"outer", {20, 30, 30}, {0, 0, 5}};
    EXPECT_EQ(test::wktOf(*geometryOf(object("area", {square, hole, island}))),
              "MULTIPOLYGON (((0 0,9 0,9 9,0 9,0 0),(1 1,2 1,2 2,1 1)),((20 0,30 0,30 5,20 0)))");
    // A hole with no ring before it stands on its own rather than being lost.
    EXPECT_EQ(test::wktOf(*geometryOf(object("area", {hole}))), "MULTIPOLYGON (((1 1,2 1,2 2,1 1)))");
    EXPECT_EQ(test::wktOf(*geometryOf(object("polygon", {{"out", {0, 1, 1}, {0, 0, 1}}}))),
              "POLYGON ((0 0,1 0,1 1,0 0))");
    EXPECT_EQ(test::wktOf(*geometryOf(object("line", {{"root", {0, 1}, {0, 1}}}))), "LINESTRING (0 0,1 1)");
    EXPECT_EQ(test::wktOf(*geometryOf(object("tree", {{"a", {0, 1}, {0, 1}}, {"b", {5, 6}, {5, 6}}}))),
              "MULTILINESTRING ((0 0,1 1),(5 5,6 6))");
    EXPECT_EQ(test::wktOf(*geometryOf(object("point", {{"", {7}, {8}}}))), "POINT (7 8)");
    EXPECT_THROW(geometryOf(object("point", {})), GisError);
    EXPECT_THROW(geometryOf(object("Polygon", {square})), GisError);
}

TEST(CommonLayerType, PromotesToMultiOnlyWithinOneKind) {
    EXPECT_EQ(commonLayerType({wkbPoint, wkbPoint}), wkbPoint);
    EXPECT_EQ(commonLayerType({wkbPolygon, wkbMultiPolygon}), wkbMultiPolygon);
    EXPECT_EQ(commonLayerType({wkbLineString, wkbMultiLineString}), wkbMultiLineString);
    EXPECT_EQ(commonLayerType({wkbPolygon, wkbPoint}), wkbUnknown);
    EXPECT_EQ(commonLayerType({}), wkbUnknown);
}

}  // namespace
}  // namespace el::gis
