// Where a region lies: the centroid of the part that stands for it (largest ring, longest
// line, every node of a point), rings across the antimeridian, and the measures of distance.

#include "engine/hindcast/region_distance.hpp"

#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "engine/hindcast/region_geometry.hpp"
#include "tests/engine/run_fixture.hpp"

namespace el::engine {
namespace {

constexpr double kPi = std::numbers::pi;

vec::VectorPart square(const char* label, double x, double y, double side) {
    return {label, {x, x + side, x + side, x}, {y, y, y + side, y + side}};
}

TEST(RegionCentroid, TheLargestPartStandsForTheRegion) {
    vec::VectorObject lShape{{}, "polygon", "L", {{"out", {0, 2, 2, 1, 1, 0}, {0, 0, 1, 1, 3, 3}}}};
    // A 2 x 1 block centred at (1, .5) and a 1 x 2 block centred at (.5, 2), of equal area.
    EXPECT_DOUBLE_EQ(regionCentroid(lShape)->x, 0.75);
    EXPECT_DOUBLE_EQ(regionCentroid(lShape)->y, 1.25);

    // France-like, in degrees: a small island first (Corsica), the mainland, then two far
    // overseas parts (French Guiana, Reunion): the mainland's centroid.
    vec::VectorObject france{{},
                             "area",
                             "France",
                             {square("outer", 8.5, 41.5, 1), square("outer", -4, 43, 10), square("outer", -54, 2, 3),
                              square("outer", 55, -21, 0.7)}};
    const auto centre = regionCentroid(france, true);
    ASSERT_TRUE(centre);
    EXPECT_NEAR(centre->x, 1, 1e-12);
    EXPECT_NEAR(centre->y, 48, 1e-12);
    EXPECT_EQ(mainPartIndex(france, true), 1u);

    // A hole larger than the island is no part of the land: the outer ring counts.
    vec::VectorObject holed{
        {}, "area", "H", {square("outer", 100, 0, 1), square("outer", 0, 0, 10), square("hole", 1, 1, 8)}};
    EXPECT_DOUBLE_EQ(regionCentroid(holed)->x, 5);

    // Near a pole a ring of many degrees of longitude encloses little land.
    vec::VectorObject polar{{}, "area", "P", {square("outer", 0, 80, 9), square("outer", 0, 0, 5)}};
    EXPECT_EQ(mainPartIndex(polar, true), 1u);
    EXPECT_EQ(mainPartIndex(polar, false), 0u) << "plane coordinates: the area as drawn";
}

TEST(RegionCentroid, LinesPointsAndDegenerateRings) {
    // A line: the length-weighted centroid; 4 units around (2, 0) and 5 around (6, 1.5).
    vec::VectorObject line{{}, "line", "L", {{"root", {0, 4, 8}, {0, 0, 3}}}};
    EXPECT_DOUBLE_EQ(regionCentroid(line)->x, (4 * 2 + 5 * 6) / 9.0);
    EXPECT_DOUBLE_EQ(regionCentroid(line)->y, 5 * 1.5 / 9.0);
    // A tree of lines (rings that enclose nothing): its longest part.
    vec::VectorObject tree{{}, "tree", "T", {{"line", {0, 1}, {0, 0}}, {"line", {10, 10, 10}, {0, 2, 6}}}};
    EXPECT_DOUBLE_EQ(regionCentroid(tree)->x, 10);
    EXPECT_DOUBLE_EQ(regionCentroid(tree)->y, 3);
    // A point region: the mean of its nodes.
    vec::VectorObject point{{}, "point", "P", {{"", {3}, {4}}}};
    EXPECT_DOUBLE_EQ(regionCentroid(point)->x, 3);
    // A ring of no area and no length: its node.
    vec::VectorObject dot{{}, "polygon", "D", {{"out", {2, 2, 2}, {5, 5, 5}}}};
    EXPECT_DOUBLE_EQ(regionCentroid(dot)->y, 5);
    EXPECT_FALSE(regionCentroid(vec::VectorObject{{}, "area", "E", {}}));
}

TEST(RegionCentroid, RingsAcrossTheAntimeridianAreUnwrapped) {
    // Russia-like: from 170°E across 180° to 170°W, 60-70°N, plus a western block.
    vec::VectorObject east{{}, "polygon", "E", {{"out", {170, -170, -170, 170}, {60, 60, 70, 70}}}};
    EXPECT_TRUE(crossesAntimeridian(east.parts[0], true));
    const auto centre = regionCentroid(east, true);
    ASSERT_TRUE(centre);
    EXPECT_NEAR(std::fabs(centre->x), 180, 1e-9) << "on the antimeridian, not at 0°";
    EXPECT_NEAR(centre->y, 65, 1e-9);

    vec::VectorObject russia{
        {},
        "area",
        "R",
        {square("outer", 30, 50, 5), {"outer", {40, 150, -170, -170, 150, 40}, {55, 55, 60, 70, 72, 70}}}};
    EXPECT_EQ(mainPartIndex(russia, true), 1u) << "the wide ring once unwrapped";
    const auto r = regionCentroid(russia, true);
    ASSERT_TRUE(r);
    EXPECT_GT(r->x, 40);
    EXPECT_LE(r->x, 180);
    // Plane coordinates are never unwrapped: a jump of 340 units is just a long edge.
    EXPECT_FALSE(regionCentroid(east, false)->x > 170);
}

TEST(RegionDistance, TheTwoMeasuresOfDistance) {
    EXPECT_NEAR(greatCircleKm({0, 0}, {90, 0}), 6371 * kPi / 2, 1e-9);
    EXPECT_NEAR(greatCircleKm({139.69, 35.69}, {135.50, 34.69}), 396, 2);  // two cities of Japan

    vec::VectorData lonLat = test::makeData({"A"}, {"P", "Q", "R"}, {{"1"}, {"2"}, {"3"}});
    lonLat.objects[1].parts[0].x = {90};
    EXPECT_TRUE(coordinatesAreLonLat(lonLat));
    const auto onSphere = distanceToNearest(regionCentres(lonLat), {true, false, false});
    EXPECT_NEAR(*onSphere[1], 6371 * kPi / 2, 1e-9);
    lonLat.objects[2].parts[0].y = {95};  // beyond a latitude: the plane
    EXPECT_FALSE(coordinatesAreLonLat(lonLat));
    const auto onPlane = distanceToNearest(regionCentres(lonLat), {true, false, false});
    EXPECT_DOUBLE_EQ(*onPlane[1], 90);
    EXPECT_DOUBLE_EQ(*onPlane[0], 0);
    EXPECT_FALSE(distanceToNearest(regionCentres(lonLat), {false, false, false})[1]);
}

}  // namespace
}  // namespace el::engine
