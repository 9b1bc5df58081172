// The map's frame: the box of the regions' main parts, a far small part left out and cut
// away, the extent a caller gives, and rings across the antimeridian drawn without a band.

#include "figures/map_frame.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "figures/clip_rect.hpp"
#include "figures/map_figure.hpp"
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

// The degree frame of a longitude/latitude map, on the canvas.
PixelRect degreeFrame(const Scene& scene) {
    const Shape& frame = *std::find_if(scene.content.shapes.begin(), scene.content.shapes.end(),
                                       [](const Shape& s) { return s.region < 0 && s.closed; });
    return {frame.rings[0][0].x, frame.rings[0][0].y, frame.rings[0][2].x, frame.rings[0][2].y};
}

bool within(const PixelRect& inner, const PixelRect& outer) {
    return inner.left >= outer.left - 1e-9 && inner.right <= outer.right + 1e-9 && inner.top >= outer.top - 1e-9 &&
           inner.bottom <= outer.bottom + 1e-9;
}

TEST(MapFrame, FarSmallPartsDoNotWidenTheFrameAndAreCut) {
    const MapBounds frame = mainPartsFrame(europeLike(), true);
    EXPECT_DOUBLE_EQ(frame.minX, -4);
    EXPECT_DOUBLE_EQ(frame.maxX, 14);
    EXPECT_DOUBLE_EQ(frame.minY, 41.5) << "the island lies near the mainland: it counts";
    EXPECT_DOUBLE_EQ(frame.maxY, 55);

    const Scene scene = buildMap(europeLike(), test::squareRowRun({"France", "Germany"}, "T"), {});
    EXPECT_EQ(regionShape(scene, 0).rings.size(), 2u) << "island and mainland drawn, overseas parts cut away";
    const PixelRect drawn = drawnBox(scene);
    EXPECT_TRUE(within(drawn, degreeFrame(scene))) << "every drawn node lies within the frame";
    EXPECT_GT(drawn.right - drawn.left, 300) << "Europe fills the map instead of a thumbnail";
}

TEST(MapFrame, TheGivenExtentOverridesIt) {
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
    const Shape& germany = regionShape(narrow, 1);
    ASSERT_EQ(germany.rings.size(), 1u);
    EXPECT_TRUE(within(drawnBox(narrow), degreeFrame(narrow)));
    const PixelRect frame = degreeFrame(narrow);
    EXPECT_NEAR(frame.right - frame.left, (frame.bottom - frame.top) * 10 * std::cos(47.5 * M_PI / 180) / 5, 1e-6)
        << "the extent's shape";
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

TEST(MapFrame, RingsAcrossTheAntimeridianDrawNoBand) {
    const MapBounds frame = mainPartsFrame(acrossTheAntimeridian(), true);
    EXPECT_DOUBLE_EQ(frame.minX, 20);
    EXPECT_DOUBLE_EQ(frame.maxX, 190) << "the ring unwrapped east of 180°";

    const Scene scene = buildMap(acrossTheAntimeridian(), test::squareRowRun({"Russia", "Finland"}, "T"), {});
    const PixelRect drawn = drawnBox(scene);
    const Shape& russia = regionShape(scene, 0);
    ASSERT_EQ(russia.rings.size(), 1u);
    const auto& ring = russia.rings[0];
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const Point a = ring[i], b = ring[(i + 1) % ring.size()];
        EXPECT_LT(std::fabs(b.x - a.x), (drawn.right - drawn.left) / 2) << "segment " << i;
    }

    // A part lying wholly west of 180° (Chukotka-like) is drawn east of it, beside the rest.
    vec::VectorData split = acrossTheAntimeridian();
    split.objects[0].type = "area";
    split.objects[0].parts = {{"outer", {30, 179.9, 179.9, 30}, {45, 45, 75, 75}}, square("outer", -179.9, 64, 9)};
    const auto placed = placedParts(split.objects[0], true, 100);
    EXPECT_NEAR(placed[1].x[0], 180.1, 1e-9);
    EXPECT_NEAR(mainPartsFrame(split, true).maxX, 189.1, 1e-9) << "near the main part: it counts";
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
