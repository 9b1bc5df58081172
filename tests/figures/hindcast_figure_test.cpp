// The hindcast plot: one mark per scored region, circles at (predicted, recorded) for the
// regions reached later and crosses in the strip above the plot for those not reached;
// the figures in the legend; a plain message when there is nothing to plot.

#include "figures/hindcast_figure.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace el::figures {
namespace {

using engine::HindcastClass;

engine::HindcastYear threeAndTwo() {
    engine::HindcastYear year;
    year.year = 2005;
    year.ran = true;
    year.targetName = "T";
    year.regions = {{0, HindcastClass::ReachedLater, 2007, 2006, 1.5}, {1, HindcastClass::ReachedLater, 2009, 2010, 2},
                    {3, HindcastClass::ReachedLater, 2012, 2011, 3}, {4, HindcastClass::NotReached, 2015, {}, 4},
                    {5, HindcastClass::NotReached, 2030, {}, 9}};
    year.figures = {3, 2, 1.0, 1.0, 1.0, 0.8333, std::nullopt};
    return year;
}

std::string allText(const Scene& scene) {
    std::string text;
    for (const Label& label : scene.overlay.labels) text += label.text + "\n";
    return text;
}

TEST(HindcastFigure, CirclesForTheLaterArrivalsCrossesAboveForTheRest) {
    const std::vector<std::string> names{"R0", "R1", "R2", "R3", "R4", "R5"};
    const Scene scene = buildHindcastPlot(threeAndTwo(), names);
    std::vector<const Marker*> circles, crosses;
    for (const Marker& m : scene.content.markers) (m.kind == MarkerKind::Circle ? circles : crosses).push_back(&m);
    ASSERT_EQ(circles.size(), 3u);
    ASSERT_EQ(crosses.size(), 2u);
    EXPECT_EQ(circles[2]->region, 3);
    EXPECT_EQ(circles[0]->tip, "R0\npredicted date: 2007\nrecorded date: 2006");
    // Later predicted, further right; later recorded, higher up; the crosses stand above all.
    EXPECT_LT(circles[0]->at.x, circles[1]->at.x);
    EXPECT_GT(circles[0]->at.y, circles[1]->at.y);
    EXPECT_LT(crosses[0]->at.x, crosses[1]->at.x);
    for (const Marker* cross : crosses)
        for (const Marker* circle : circles) EXPECT_LT(cross->at.y, circle->at.y);
    const std::string text = allText(scene);
    EXPECT_NE(text.find("Hindcast of T from the data up to 2005"), std::string::npos);
    EXPECT_NE(text.find("forecast: AUC 1.000, Spearman 1.000"), std::string::npos);
    EXPECT_NE(text.find("mean error 1 years"), std::string::npos);
    EXPECT_NE(text.find("distance: AUC 0.833, Spearman n/a"), std::string::npos) << text;
}

TEST(HindcastFigure, NothingToPlotSaysWhy) {
    engine::HindcastYear stopped = threeAndTwo();
    stopped.ran = false;
    stopped.error = "There are less-connective regions";
    const Scene a = buildHindcastPlot(stopped, {});
    EXPECT_TRUE(a.content.markers.empty());
    EXPECT_NE(allText(a).find("The run stopped: There are less-connective regions"), std::string::npos);

    engine::HindcastYear unpredictable = threeAndTwo();
    for (auto& r : unpredictable.regions) r.predicted.reset();
    const Scene b = buildHindcastPlot(unpredictable, {}, 400, 500);
    EXPECT_TRUE(b.content.markers.empty());
    EXPECT_NE(allText(b).find("not predictable"), std::string::npos);
    EXPECT_EQ(figureText(0.97802), "0.978");
    EXPECT_EQ(figureText(std::nullopt), "n/a");
}

}  // namespace
}  // namespace el::figures
