// The figure model: map items and colours, the map's longitude/latitude aspect and y-down
// flip, fit plot points, weight grid parsing, and layouts that fit the window's start-up tab.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "figures/axis_ticks.hpp"
#include "figures/colour.hpp"
#include "figures/fit_figure.hpp"
#include "figures/map_figure.hpp"
#include "figures/font_text.hpp"
#include "figures/map_projection.hpp"
#include "figures/text_fit.hpp"
#include "figures/weight_grid.hpp"
#include "tests/figures/figure_fixture.hpp"

namespace el::figures {
namespace {

using engine::RegionRole;

using test::fourRegionRun;
using test::fourRegions;
using test::ring;

// The items that draw a region (not the degree frame of a longitude/latitude map).
int regionItems(const Layer& layer) {
    return static_cast<int>(std::count_if(layer.shapes.begin(), layer.shapes.end(), [](const Shape& s) { return s.region >= 0; }) +
                            std::count_if(layer.markers.begin(), layer.markers.end(), [](const Marker& m) { return m.region >= 0; }));
}

TEST(MapFigure, OneItemPerRegionColouredByItsPredictedDate) {
    const Scene scene = buildMap(fourRegions(), fourRegionRun(), {});
    const auto& shapes = scene.content.shapes;
    ASSERT_EQ(regionItems(scene.content), 4);
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
    vec::VectorData data = fourRegions();
    data.objects[2].type = "polygon";
    data.objects[2].parts[0] = ring({0, 1, 1}, {5, 5, 6});
    const Scene scene = buildMap(data, fourRegionRun(), {});
    EXPECT_TRUE(scene.content.shapes[2].hatched);
    EXPECT_FALSE(scene.content.shapes[0].hatched);

    const Scene before = buildMap(data, engine::RunResult{}, {});
    EXPECT_EQ(regionItems(before.content), 4);
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

// Shapes' extent on the canvas: {width, height}.
std::pair<double, double> extent(const Shape& shape) {
    double x0 = 1e300, x1 = -1e300, y0 = 1e300, y1 = -1e300;
    for (const auto& r : shape.rings)
        for (const Point& p : r) x0 = std::min(x0, p.x), x1 = std::max(x1, p.x), y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
    return {x1 - x0, y1 - y0};
}

double topOf(const Shape& shape) {
    double y = 1e300;
    for (const auto& r : shape.rings)
        for (const Point& p : r) y = std::min(y, p.y);
    return y;
}

bool hasLabel(const Layer& layer, const std::string& text) {
    return std::any_of(layer.labels.begin(), layer.labels.end(), [&](const Label& l) { return l.text == text; });
}

TEST(MapFigure, LongitudeLatitudeMapKeepsTheLandsShape) {
    // Two one-degree squares at 60-61 degrees north: a degree of longitude is drawn about
    // cos(60.5 degrees) times as wide as a degree of latitude (on the ellipsoid, projected).
    const vec::VectorData north = test::squareRow({"West", "East"}, 10, 60, 1);
    const engine::RunResult run = test::squareRowRun({"West", "East"}, "T");
    const Scene map = buildMap(north, run, {});
    const auto [w, h] = extent(map.content.shapes.at(0));
    EXPECT_NEAR(w / h, std::cos(60.5 * std::numbers::pi / 180), 0.01);
    EXPECT_TRUE(hasLabel(map.content, "10°E") && hasLabel(map.content, "12°E"));
    EXPECT_TRUE(hasLabel(map.content, "60°N") && hasLabel(map.content, "60.8°N"));

    // The same squares far beyond longitude 360 are plane coordinates: no squeeze, no degrees.
    const Scene plane = buildMap(test::squareRow({"West", "East"}, 1000, 60, 1), run, {});
    const auto [pw, ph] = extent(plane.content.shapes.at(0));
    EXPECT_NEAR(pw / ph, 1.0, 1e-9);
    EXPECT_TRUE(plane.content.labels.empty());

    // Bounds: longitudes from -180 to 360, latitudes from -90 to 90, all inclusive.
    MapBounds b;
    b.add(-180, -90);
    b.add(360, 90);
    EXPECT_TRUE(isLonLat(b));
    b.add(360.5, 0);
    EXPECT_FALSE(isLonLat(b));
    MapBounds south;
    south.add(0, -90.1);
    EXPECT_FALSE(isLonLat(south));
    EXPECT_FALSE(isLonLat(MapBounds{}));
    south.add(std::nan(""), 0);
    EXPECT_EQ(south.maxX, 0) << "a point that is not a number is left out";

    EXPECT_EQ(longitudeText(10), "10°E");
    EXPECT_EQ(longitudeText(-25.5), "25.5°W");
    EXPECT_EQ(longitudeText(200), "160°W") << "0..360 longitudes count on west of 180";
    EXPECT_EQ(longitudeText(180), "180°");
    EXPECT_EQ(longitudeText(0), "0°");
    EXPECT_EQ(latitudeText(45), "45°N");
    EXPECT_EQ(latitudeText(-12), "12°S");
}

TEST(MapFigure, YDownShowsScreenCoordinatesTheRightWayUp) {
    // Screen coordinates: "Top" has the smaller y and belongs at the top of the map.
    vec::VectorData data = test::squareRow({"Top"}, 0, 0, 10);
    const vec::VectorData bottom = test::squareRow({"Bottom"}, 0, 30, 10);
    data.objects.push_back(bottom.objects[0]);
    data.sizes.objn = 2;
    const engine::RunResult run = test::squareRowRun({"Top", "Bottom"}, "T");

    const Scene upsideDown = buildMap(data, run, {});
    EXPECT_GT(topOf(upsideDown.content.shapes[0]), topOf(upsideDown.content.shapes[1])) << "y up by default";
    MapOptions yDown;
    yDown.yDown = true;
    const Scene rightWay = buildMap(data, run, {}, 900, 640, yDown);
    EXPECT_LT(topOf(rightWay.content.shapes[0]), topOf(rightWay.content.shapes[1]));
    // Latitude never grows downwards: these small numbers are plane coordinates then.
    EXPECT_FALSE(upsideDown.content.labels.empty());
    EXPECT_TRUE(rightWay.content.labels.empty());
    const auto [w, h] = extent(rightWay.content.shapes[0]);
    EXPECT_NEAR(w / h, 1.0, 1e-9);
}

// Every label lies wholly on the canvas, measured in the fonts it is drawn with.
void expectLabelsOnCanvas(const Scene& scene, const Layer& layer) {
    for (const Label& l : layer.labels) {
        const double width = textWidth(l.text, l.size);
        const double start = l.anchor == TextAnchor::Start ? 0 : l.anchor == TextAnchor::Middle ? -width / 2 : -width;
        if (l.vertical) {
            EXPECT_GE(l.at.y - start - width, -0.5) << l.text;
            EXPECT_LE(l.at.y - start, scene.height + 0.5) << l.text;
            EXPECT_GE(l.at.x - l.size, -0.5) << l.text;
        } else {
            EXPECT_GE(l.at.x + start, -0.5) << l.text;
            EXPECT_LE(l.at.x + start + width, scene.width + 0.5) << l.text << " at size " << l.size;
            EXPECT_GE(l.at.y - l.size * 0.8, -0.5) << l.text;
            EXPECT_LE(l.at.y + l.size * 0.25, scene.height + 0.5) << l.text;
        }
    }
}

std::string allText(const Layer& layer) {
    std::string text;
    for (const Label& l : layer.labels) text += l.text + " ";
    return text;
}

TEST(FigureLayout, TitlesLegendsAndEquationsFitTheStartUpTab) {
    constexpr double kTabWidth = 317, kTabHeight = 390;  // the figure view in the window at start-up
    const std::vector<std::string> names{"Aomori", "Akita", "Iwate"};
    engine::RunResult run = test::squareRowRun(names, "Lycorma delicatula");
    engine::SpeciesOutcome& target = run.species[0];
    target.fit.a = 56.2075213040075;
    target.fit.b = 1987.31108717255;
    for (std::size_t p = 0; p < run.score.size(); ++p) target.predicted[p] = target.fit.a * run.score[p] + target.fit.b;
    for (const double width : {kTabWidth, 900.0}) {
        SCOPED_TRACE(width);
        const double height = width == kTabWidth ? kTabHeight : 640;
        const Scene map = buildMap(test::squareRow(names, 0, 0, 1000), run, {}, width, height);
        expectLabelsOnCanvas(map, map.overlay);
        EXPECT_NE(allText(map.overlay).find("Lycorma delicatula"), std::string::npos);
        const Scene fit = buildFitPlot(run, width, height);
        expectLabelsOnCanvas(fit, fit.overlay);
        const std::string fitText = allText(fit.overlay);
        EXPECT_NE(fitText.find("Actual against predicted date: Lycorma delicatula"), std::string::npos) << fitText;
        EXPECT_NE(fitText.find("56.2075 x score + 1987.31"), std::string::npos) << fitText;
        WeightGrid grid;
        grid.target = "Lycorma delicatula";
        grid.whole[5] = 0.5;
        const Scene weights = buildWeightGridPlot(grid, GridMeasure::Whole, width, height);
        expectLabelsOnCanvas(weights, weights.overlay);
        EXPECT_NE(allText(weights.overlay).find("best pair: p1 0, p2 0.5"), std::string::npos);
    }
}

TEST(TextFit, ShrinksThenWrapsAndNeverDropsACharacter) {
    const FittedText same = fitText("Map", 200, 12, 9);
    EXPECT_EQ(same.size, 12);
    EXPECT_EQ(same.lines, std::vector<std::string>{"Map"});

    const std::string title = "Predicted date of Lycorma delicatula";
    const double full = textWidth(title, 12);
    const FittedText shrunk = fitText(title, full * 0.9, 12, 9);
    ASSERT_EQ(shrunk.lines.size(), 1u);
    EXPECT_LT(shrunk.size, 12);
    EXPECT_LE(textWidth(title, shrunk.size), full * 0.9);

    const FittedText wrapped = fitText(title, full * 0.5, 12, 9);
    EXPECT_EQ(wrapped.size, 12);
    ASSERT_GE(wrapped.lines.size(), 2u);
    std::string joined;
    for (const auto& line : wrapped.lines) {
        EXPECT_LE(textWidth(line, 12), full * 0.5) << line;
        joined += (joined.empty() ? "" : " ") + line;
    }
    EXPECT_EQ(joined, title);

    // Japanese has no blanks: it breaks between characters, each line within the width.
    const std::string names = "北海道青森県岩手県宮城県秋田県";
    const auto lines = wrapLines(names, 40, 12);
    EXPECT_GT(lines.size(), 3u);
    std::string rejoined;
    for (const auto& line : lines) {
        EXPECT_LE(textWidth(line, 12), 40) << line;
        rejoined += line;
    }
    EXPECT_EQ(rejoined, names);
    // A character wider than the line still gets a line of its own.
    EXPECT_EQ(wrapLines("分布", 2, 12), (std::vector<std::string>{"分", "布"}));
}

TEST(AxisTicks, EndTicksSurviveRounding) {
    const auto ticks = niceTicks(60, 61, 5);
    ASSERT_EQ(ticks.size(), 6u);
    EXPECT_EQ(ticks.back(), 61.0) << "60 + 5 x 0.2 in steps would overshoot 61";
    EXPECT_EQ(niceTicks(0, 1, 10)[3], 0.3);
    EXPECT_EQ(niceTicks(1990, 2010, 4), (std::vector<double>{1990, 1995, 2000, 2005, 2010}));
    EXPECT_EQ(niceTicks(-3, 3, 3), (std::vector<double>{-2, 0, 2}));
}

TEST(Colour, ViridisEndsAndClamps) {
    EXPECT_EQ(viridis(0), (Rgb{68, 1, 84}));
    EXPECT_EQ(viridis(1), (Rgb{253, 231, 37}));
    EXPECT_EQ(viridis(-3), viridis(0));
    EXPECT_EQ(viridis(7), viridis(1));
    EXPECT_EQ(viridis(std::nan("")), viridis(0));
}

}  // namespace
}  // namespace el::figures
