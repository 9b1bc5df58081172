// The map's frame and projection: where the regions are, a huge region and far overseas parts
// cut away, the extent a caller gives, rings across the antimeridian, the equal-area
// projection centred on the regions, a coordinate system the user names, plane data as they are.

#include "figures/map_frame.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "figures/clip_rect.hpp"
#include "figures/map_crs.hpp"
#include "figures/map_figure.hpp"
#include "figures/map_graticule.hpp"
#include "figures/map_transform.hpp"
#include "tests/figures/figure_fixture.hpp"

namespace el::figures {
namespace {

vec::VectorPart square(const char* label, double x, double y, double side) {
    return {label, {x, x + side, x + side, x}, {y, y, y + side, y + side}};
}

// France-like (an island first, the mainland, two overseas parts) beside a neighbour.
vec::VectorData europeLike() {
    vec::VectorData data;
    data.objects = {{{}, "area", "France",
                     {square("outer", 8.5, 41.5, 1), square("outer", -4, 43, 8), square("outer", -54, 2, 3),
                      square("outer", 55, -21, 0.7)}},
                    {{}, "polygon", "Germany", {square("out", 6, 47, 8)}}};
    data.sizes.objn = 2;
    return data;
}

const Shape& regionShape(const Scene& scene, int region) {
    return *std::find_if(scene.content.shapes.begin(), scene.content.shapes.end(),
                         [&](const Shape& s) { return s.region == region; });
}

PixelRect drawnBox(const Scene& scene) {
    PixelRect box{1e9, 1e9, -1e9, -1e9};
    for (const Shape& s : scene.content.shapes)
        if (s.region >= 0)
            for (const auto& ring : s.rings)
                for (const Point& p : ring)
                    box = {std::min(box.left, p.x), std::min(box.top, p.y), std::max(box.right, p.x), std::max(box.bottom, p.y)};
    return box;
}

// The box drawn round a projected map, on the canvas.
PixelRect frameBox(const Scene& scene) {
    const Shape& frame = *std::find_if(scene.content.shapes.begin(), scene.content.shapes.end(),
                                       [](const Shape& s) { return s.region < 0 && s.closed; });
    return {frame.rings[0][0].x, frame.rings[0][0].y, frame.rings[0][2].x, frame.rings[0][2].y};
}

bool within(const PixelRect& inner, const PixelRect& outer) {
    return inner.left >= outer.left - 1e-6 && inner.right <= outer.right + 1e-6 && inner.top >= outer.top - 1e-6 &&
           inner.bottom <= outer.bottom + 1e-6;
}

// The longest step between consecutive nodes of the region's rings, on the canvas.
double longestStep(const Shape& shape) {
    double longest = 0;
    for (const auto& ring : shape.rings)
        for (std::size_t i = 0; i < ring.size(); ++i) {
            const Point a = ring[i], b = ring[(i + 1) % ring.size()];
            longest = std::max(longest, std::hypot(b.x - a.x, b.y - a.y));
        }
    return longest;
}

// Twelve one-unit squares, four by three, in plane coordinates, and a region ten times their
// size running far north-east of them (Russia beside the countries of Europe).
vec::VectorData gridWithAGiant() {
    vec::VectorData data;
    for (int k = 0; k < 12; ++k)
        data.objects.push_back(
            {{}, "polygon", std::string(1, static_cast<char>('A' + k)), {square("", k % 4, k / 4, 1)}});
    data.objects.push_back({{}, "polygon", "Giant", {square("", 3, 2, 10)}});
    data.sizes.objn = 13;
    return data;
}

TEST(MapFrame, CoversTheRegionsAndCutsAGiantAndFarParts) {
    EXPECT_DOUBLE_EQ(typicalRegionSize(gridWithAGiant()), 1);
    const MapBounds frame = regionsFrame(gridWithAGiant());
    EXPECT_DOUBLE_EQ(frame.minX, 0);
    EXPECT_DOUBLE_EQ(frame.minY, 0);
    EXPECT_DOUBLE_EQ(frame.maxX, 8.5) << "the giant's centre with half a typical size, not its far edge";
    EXPECT_DOUBLE_EQ(frame.maxY, 7.5);

    // A larger region lying near the others counts whole.
    vec::VectorData near = gridWithAGiant();
    near.objects.back().parts = {square("", 1, 0.5, 3.2)};
    const MapBounds nearFrame = regionsFrame(near);
    EXPECT_DOUBLE_EQ(nearFrame.maxX, 4.2);
    EXPECT_DOUBLE_EQ(nearFrame.maxY, 3.7);

    // France's overseas parts add nothing; its island and mainland do.
    const MapBounds europe = regionsFrame(europeLike());
    EXPECT_DOUBLE_EQ(europe.minX, -4);
    EXPECT_DOUBLE_EQ(europe.maxX, 14);
    EXPECT_DOUBLE_EQ(europe.maxY, 55);
    EXPECT_DOUBLE_EQ(europe.minY, 41.5) << "the island near the mainland counts";

    // A single point region still gets a frame of some size.
    vec::VectorData point;
    point.objects = {{{}, "point", "P", {{"", {5}, {7}}}}};
    const MapBounds dot = regionsFrame(point);
    EXPECT_GT(dot.width(), 0);
    EXPECT_GT(dot.height(), 0);
    EXPECT_TRUE(regionsFrame(vec::VectorData{}).empty());
}

TEST(MapFrame, ProjectedMapsCutWhatLiesOutsideTheFrame) {
    const Scene scene = buildMap(europeLike(), test::squareRowRun({"France", "Germany"}, "T"), {});
    EXPECT_EQ(regionShape(scene, 0).rings.size(), 2u) << "island and mainland drawn, overseas parts cut away";
    const PixelRect drawn = drawnBox(scene);
    EXPECT_TRUE(within(drawn, frameBox(scene))) << "every drawn node lies within the frame";
    EXPECT_GT(drawn.right - drawn.left, 300) << "Europe fills the map instead of a thumbnail";
    bool degrees = false;
    for (const auto& label : scene.content.labels) degrees = degrees || label.text.find("°") != std::string::npos;
    EXPECT_TRUE(degrees) << "meridians and parallels are labelled";

    // The given extent wins: all parts within it are drawn, and it keeps its shape.
    MapOptions options;
    options.extent.emplace();
    options.extent->add(-60, -25);
    options.extent->add(60, 60);
    const Scene wide = buildMap(europeLike(), test::squareRowRun({"France", "Germany"}, "T"), {}, 900, 640, options);
    EXPECT_EQ(regionShape(wide, 0).rings.size(), 4u) << "every part lies within the extent";

    options.extent = MapBounds{};
    options.extent->add(0, 45);
    options.extent->add(10, 50);
    const Scene narrow = buildMap(europeLike(), test::squareRowRun({"France", "Germany"}, "T"), {}, 900, 640, options);
    ASSERT_EQ(regionShape(narrow, 1).rings.size(), 1u);
    EXPECT_TRUE(within(drawnBox(narrow), frameBox(narrow)));
    const PixelRect box = frameBox(narrow);
    const double aspect = (box.right - box.left) / (box.bottom - box.top);
    EXPECT_NEAR(aspect, 10 * std::cos(47.5 * M_PI / 180) / 5, 0.1) << "the extent's shape, on the globe";
}

// Russia-like: one ring from 30°E eastwards across 180° to 170°W, a western neighbour.
vec::VectorData acrossTheAntimeridian() {
    vec::VectorData data;
    data.objects = {{{}, "polygon", "Russia", {{"out", {30, 65, 100, 140, 179, -175, -170, -170, 140, 100, 65, 30},
                                                   {50, 45, 45, 50, 60, 62, 65, 70, 72, 75, 72, 70}}}},
                    {{}, "polygon", "Finland", {square("out", 20, 60, 8)}}};
    data.sizes.objn = 2;
    return data;
}

// The same with Alaska-like land east of the Bering Strait, so that a world map shows both sides.
vec::VectorData roundTheBeringStrait() {
    vec::VectorData data = acrossTheAntimeridian();
    data.objects.push_back({{}, "polygon", "Alaska", {square("out", -165, 55, 20)}});
    data.objects.push_back({{}, "polygon", "Canada", {square("out", -130, 50, 30)}});
    data.sizes.objn = 4;
    return data;
}

TEST(MapFrame, RingsAcrossTheAntimeridianDrawNoBand) {
    const auto run = test::squareRowRun({"Russia", "Finland"}, "T");
    const Scene scene = buildMap(acrossTheAntimeridian(), run, {});
    const PixelRect drawn = drawnBox(scene);
    const Shape& russia = regionShape(scene, 0);
    ASSERT_EQ(russia.rings.size(), 1u);
    EXPECT_LT(longestStep(russia), (drawn.right - drawn.left) / 4) << "the ring is drawn in one piece";
    EXPECT_TRUE(within(drawn, frameBox(scene)));

    // A world projection centred on Greenwich tears the globe at 180°: the ring is cut there
    // into a piece on each side, neither spanning the map.
    MapOptions world;
    world.crs = "+proj=robin";
    const Scene torn =
        buildMap(roundTheBeringStrait(), test::squareRowRun({"Russia", "Finland", "Alaska", "Canada"}, "T"), {}, 900,
                 640, world);
    const Shape& cut = regionShape(torn, 0);
    ASSERT_EQ(cut.rings.size(), 2u);
    const PixelRect box = frameBox(torn);
    EXPECT_LT(longestStep(cut), (box.right - box.left) / 4);
}

TEST(MapCrs, EqualAreaCentredOnTheRegions) {
    // The shortest arc of longitude: across the antimeridian, not round the globe.
    const auto fiji = middleOf({{177, -18}, {-178, -16}});
    ASSERT_TRUE(fiji);
    EXPECT_NEAR(std::fabs(fiji->centre.lon), 179.5, 1e-9);
    EXPECT_NEAR(fiji->arc, 5, 1e-9);
    EXPECT_NEAR(fiji->centre.lat, -17, 1e-9);
    EXPECT_FALSE(middleOf({}));
    EXPECT_NEAR(angularDistance({0, 0}, {90, 0}), 90, 1e-9);
    EXPECT_NEAR(angularDistance({10, 90}, {-170, 80}), 10, 1e-9);
    EXPECT_DOUBLE_EQ(normalLongitude(190), -170);
    EXPECT_DOUBLE_EQ(normalLongitude(180), -180);

    const auto europe = equalAreaCrsFor(europeLike());
    ASSERT_TRUE(europe);
    EXPECT_FALSE(europe->world);
    EXPECT_NE(europe->definition.find("+proj=laea"), std::string::npos) << europe->definition;
    EXPECT_NEAR(europe->centre.lon, 4, 5) << "between France and Germany";

    vec::VectorData spread = test::squareRow({"America", "Europe", "Australia"}, -100, 40, 1);
    spread.objects[1].parts = {square("", 10, 50, 1)};
    spread.objects[2].parts = {square("", 135, -25, 1)};
    const auto world = equalAreaCrsFor(spread);
    ASSERT_TRUE(world);
    EXPECT_TRUE(world->world) << "two continents apart: a world projection";
    EXPECT_FALSE(equalAreaCrsFor(vec::VectorData{}));

    // The azimuthal projection keeps areas: a small cell of degrees at 60°N (far from the
    // centre in longitude) is half one at the equator.
    const MapTransform laea(europe->definition);
    auto area = [&laea](double lon, double lat) {
        constexpr double d = 0.01;
        const auto a = laea.forward(lon, lat), b = laea.forward(lon + d, lat), c = laea.forward(lon, lat + d);
        return std::fabs((b->x - a->x) * (c->y - a->y) - (b->y - a->y) * (c->x - a->x));
    };
    EXPECT_NEAR(area(40, 60) / area(4, 0), 0.5, 0.01) << "cos(60°), nearly: the globe is an ellipsoid";
    EXPECT_FALSE(laea.tear());
    EXPECT_NEAR(*MapTransform("+proj=robin +lon_0=20").tear(), -160, 1e-3);
}

TEST(MapCrs, ANamedSystemIsCheckedAndPlaneDataKeepTheirCoordinates) {
    EXPECT_FALSE(mapCrsProblem("EPSG:3035"));
    EXPECT_FALSE(mapCrsProblem("+proj=robin"));
    const auto bad = mapCrsProblem("EPSG:999999");
    ASSERT_TRUE(bad);
    EXPECT_NE(bad->find("EPSG:999999"), std::string::npos) << *bad;
    EXPECT_TRUE(mapCrsProblem("nonsense"));
    EXPECT_TRUE(mapCrsProblem(""));
    EXPECT_THROW(MapTransform("+proj=nonsense"), MapCrsError);

    // Plane data: the frame is the regions' own, whatever coordinate system is asked for.
    MapOptions options;
    options.crs = "EPSG:3035";
    EXPECT_FALSE(showsLonLat(test::squareRow({"A"}, 1000, 0, 1), options));
    MapOptions yDown;
    yDown.yDown = true;
    EXPECT_FALSE(showsLonLat(europeLike(), yDown));
    EXPECT_TRUE(showsLonLat(europeLike(), options));
    const Scene scene =
        buildMap(test::squareRow({"A", "B"}, 1000, 60, 1), test::squareRowRun({"A", "B"}, "T"), {}, 900, 640, options);
    const auto& a = regionShape(scene, 0).rings.at(0);
    EXPECT_NEAR(std::fabs(a[1].x - a[0].x), std::fabs(a[2].y - a[1].y), 1e-9) << "a square stays square";
    EXPECT_TRUE(scene.content.labels.empty()) << "no degrees on plane data";
}

// The window's map tab at its start-up size: the legends go under the map, and where all of
// them would leave the map less than half the canvas, the outlines' key gives way.
TEST(MapFrame, ASmallCanvasKeepsHalfItsHeightForTheRegions) {
    const auto data = test::squareRow({"A", "B"}, 1000, 60, 1);
    const auto run = test::squareRowRun({"A", "B"}, "T");
    const Scene small = buildMap(data, run, {}, 320, 270);
    EXPECT_GE(drawnBox(small).bottom - drawnBox(small).top, 100) << "the map is a thumbnail above its legends";
    const Scene large = buildMap(data, run, {}, 320, 700);
    bool outlineKey = false;
    for (const Label& label : large.overlay.labels) outlineKey = outlineKey || label.text.find("training") == 0;
    EXPECT_TRUE(outlineKey) << "a canvas with room keeps the outlines' key";
}

TEST(MapGraticule, RoundStepsOfDegrees) {
    EXPECT_DOUBLE_EQ(graticuleStep(360, 6), 30);
    EXPECT_DOUBLE_EQ(graticuleStep(25, 6), 5);
    EXPECT_DOUBLE_EQ(graticuleStep(0.5, 6), 0.1);
    EXPECT_DOUBLE_EQ(graticuleStep(1000, 6), 30);
}

TEST(ClipRect, RingsAndLinesAreCutToTheRectangle) {
    const PixelRect r{0, 0, 10, 10};
    const auto ring = clipRing({{-5, 2}, {5, 2}, {5, 8}, {-5, 8}}, r);
    ASSERT_FALSE(ring.empty());
    for (const Point& p : ring) EXPECT_TRUE(r.holds(p));
    EXPECT_TRUE(clipRing({{20, 20}, {30, 20}, {30, 30}}, r).empty());

    const auto pieces = clipLine({{-5, 5}, {5, 5}, {5, 15}, {8, 15}, {8, 5}, {15, 5}}, r);
    ASSERT_EQ(pieces.size(), 2u) << "leaves through the bottom and comes back";
    EXPECT_DOUBLE_EQ(pieces[0].front().x, 0);
    EXPECT_DOUBLE_EQ(pieces[0].back().y, 10);
    EXPECT_DOUBLE_EQ(pieces[1].back().x, 10);
}

}  // namespace
}  // namespace el::figures
