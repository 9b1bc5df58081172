// The figure model: map items and colours, fit plot points, the weight grid, SVG text.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "figures/colour.hpp"
#include "figures/fit_figure.hpp"
#include "figures/map_figure.hpp"
#include "figures/svg_writer.hpp"
#include "figures/weight_grid.hpp"

namespace el::figures {
namespace {

using engine::RegionRole;

VectorPart ring(std::vector<double> x, std::vector<double> y) { return {"", std::move(x), std::move(y)}; }

// Four regions: a polygon, a two-part area, a line and a point.
VectorData fourRegions() {
    VectorData data;
    data.objects = {{{}, "polygon", "P", {ring({0, 1, 1, 0}, {0, 0, 1, 1})}},
                    {{}, "area", "A", {ring({2, 3, 3}, {0, 0, 1}), ring({4, 5, 5}, {0, 0, 1})}},
                    {{}, "line", "L", {ring({0, 5}, {2, 2})}},
                    {{}, "point", "Q", {ring({6}, {3})}}};
    data.sizes.objn = 4;
    return data;
}

// Target species 0 with a = 2, b = 1998; region 2 excluded; region 1 a validation region.
engine::RunResult fourRegionRun() {
    engine::RunResult run;
    run.status = engine::RunStatus::Completed;
    run.regno = {0, 1, 3};
    run.score = {1, 2, 3};
    run.speciesNames = {"T"};
    run.target = 0;
    run.species = {{{.nt = 2, .nv = 1, .predictable = true, .a = 2, .b = 1998, .rt = 0.9, .rv = 0.5, .rw = 0.8},
                    0,
                    {2000, 2002, 2004}}};
    run.regionNames = {"P", "A", "L", "Q"};
    run.actualDate = {2001.0, 2003.0, std::nullopt, 2004.0};
    run.actualText = {"2001", "2003", "Unknown", "2004"};
    run.role = {RegionRole::Training, RegionRole::Validation, RegionRole::Excluded, RegionRole::Training};
    return run;
}

TEST(MapFigure, OneItemPerRegionColouredByItsPredictedDate) {
    const Scene scene = buildMap(fourRegions(), fourRegionRun(), {});
    const auto& shapes = scene.content.shapes;
    ASSERT_EQ(shapes.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(shapes[k].region, static_cast<int>(k));
    EXPECT_EQ(scene.content.markers.at(0).region, 3) << "a point is a marker";
    EXPECT_EQ(shapes[1].rings.size(), 2u) << "an area keeps both parts in one item";
    EXPECT_FALSE(shapes[2].closed) << "a line is not filled";
    EXPECT_NE(shapes[0].tip.find("P\nactual date: 2001\npredicted date: 2000"), std::string::npos);

    EXPECT_EQ(*shapes[0].fill, viridis(0)) << "earliest prediction";
    EXPECT_EQ(scene.content.markers[0].fill, viridis(1)) << "latest prediction";
    EXPECT_EQ(*shapes[1].fill, viridis(0.5));
    EXPECT_EQ(shapes[1].stroke->dash, Dash::Dashed) << "validation";
    EXPECT_EQ(shapes[0].stroke->dash, Dash::Solid) << "training";

    const auto values = mapValues(fourRegionRun(), {}, 4);
    EXPECT_EQ(values[0], 2000.0);
    EXPECT_FALSE(values[2]) << "an excluded region has no prediction";

    // Scores and actual dates instead of predictions.
    EXPECT_EQ(mapValues(fourRegionRun(), {MapColouring::RegionScore, -1}, 4)[3], 3.0);
    EXPECT_EQ(mapValues(fourRegionRun(), {MapColouring::ActualDate, -1}, 4)[1], 2003.0);

    engine::RunResult unpredictable = fourRegionRun();
    unpredictable.species[0].fit.predictable = false;
    unpredictable.species[0].predicted.clear();
    const auto none = mapValues(unpredictable, {}, 4);
    EXPECT_TRUE(std::none_of(none.begin(), none.end(), [](const auto& v) { return v.has_value(); }));
    const Scene grey = buildMap(fourRegions(), unpredictable, {});
    EXPECT_EQ(*grey.content.shapes[0].fill, kNoValue);
    EXPECT_NE(grey.content.shapes[0].tip.find("predicted date: Unpredictable"), std::string::npos);
}

TEST(MapFigure, ExcludedAreaIsHatchedAndEmptyRunDrawsAllRegions) {
    VectorData data = fourRegions();
    data.objects[2].type = "polygon";
    data.objects[2].parts[0] = ring({0, 1, 1}, {5, 5, 6});
    const Scene scene = buildMap(data, fourRegionRun(), {});
    EXPECT_TRUE(scene.content.shapes[2].hatched);
    EXPECT_FALSE(scene.content.shapes[0].hatched);

    const Scene before = buildMap(data, engine::RunResult{}, {});
    EXPECT_EQ(before.content.shapes.size() + before.content.markers.size(), 4u);
}

TEST(FitFigure, PointsForUsedRegionsWithAnActualDate) {
    const Scene scene = buildFitPlot(fourRegionRun());
    ASSERT_EQ(scene.content.markers.size(), 3u);
    int triangles = 0;
    for (const auto& m : scene.content.markers) triangles += m.kind == MarkerKind::Triangle;
    EXPECT_EQ(triangles, 1) << "the one validation region";
    ASSERT_EQ(scene.content.shapes.size(), 1u) << "the fitted line";
    bool legendHasCoefficients = false;
    for (const auto& l : scene.overlay.labels)
        legendHasCoefficients |= l.text.find("training regions: r = .9, n = 2") != std::string::npos;
    EXPECT_TRUE(legendHasCoefficients);

    engine::RunResult noTarget = fourRegionRun();
    noTarget.target = -1;
    EXPECT_TRUE(buildFitPlot(noTarget).content.markers.empty());
}

TEST(WeightGrid, PlacesThePowerPairsOfTheRunAndFindsTheBest) {
    // The powers as the run's loops reach them, adding 0.1 at a time.
    double last = 0;
    for (int step = 0; step < 199; ++step) last += 0.1;
    engine::RunResult run;
    run.speciesNames = {"A", "Sp,x"};
    run.target = 1;
    run.examinedWeights = true;
    run.weightGrid = {{0, 0, .5, engine::kNotComputable, .4},
                      {0, 0.1, .7, .2, .9},
                      {last, last, .1, .1, .95},
                      {last + 0.1, 0, .99, .99, .99}};  // past the last step: not on the grid
    const WeightGrid grid = weightGridOf(run);
    EXPECT_EQ(grid.lines, 3);
    EXPECT_EQ(grid.target, "Sp,x");
    EXPECT_EQ(grid.training[0], 0.5);
    EXPECT_FALSE(grid.validation[0]) << "-10 marks no coefficient";
    EXPECT_EQ(grid.whole[1], 0.9);
    EXPECT_EQ(grid.whole[199 * 200 + 199], 0.95);

    const auto best = bestPair(grid, GridMeasure::Whole);
    ASSERT_TRUE(best);
    EXPECT_DOUBLE_EQ(best->p1, 19.9);
    EXPECT_DOUBLE_EQ(best->value, 0.95);
    EXPECT_DOUBLE_EQ(bestPair(grid, GridMeasure::Training)->p2, 0.1);
    EXPECT_FALSE(bestPair(WeightGrid{}, GridMeasure::Whole));
    EXPECT_EQ(buildWeightGridPlot(grid, GridMeasure::Whole).content.shapes.size(), 3u);
}

TEST(SvgWriter, EscapesText) {
    engine::RunResult run = fourRegionRun();
    VectorData data = fourRegions();
    data.objects[0].name = "A<&>\"'";
    run.regionNames[0] = data.objects[0].name;
    const std::string svg = toSvg(buildMap(data, run, {}));
    EXPECT_NE(svg.find("A&lt;&amp;&gt;&quot;&apos;"), std::string::npos);
    EXPECT_EQ(svg.find("A<&"), std::string::npos);
    EXPECT_EQ(xmlEscaped(std::string("a\x01") + "b"), "a b");
}

TEST(Colour, ViridisEndsAndClamps) {
    EXPECT_EQ(viridis(0), (Rgb{68, 1, 84}));
    EXPECT_EQ(viridis(1), (Rgb{253, 231, 37}));
    EXPECT_EQ(viridis(-3), viridis(0));
    EXPECT_EQ(viridis(7), viridis(1));
    EXPECT_EQ(viridis(std::nan("")), viridis(0));
    EXPECT_EQ(hexText({255, 0, 16}), "#ff0010");
}

}  // namespace
}  // namespace el::figures
