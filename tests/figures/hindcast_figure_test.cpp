// The hindcast plot: one mark per scored region, circles at (predicted, recorded) for the
// regions reached later and crosses in the strip above the plot for those not reached;
// the figures in the legend; a plain message when there is nothing to plot.

#include "figures/hindcast_figure.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "figures/font_text.hpp"

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

namespace el::figures {
namespace {

struct Box {
    double left, top, right, bottom;
    bool overlaps(const Box& o) const {
        constexpr double kTouch = 0.5;
        return left < o.right - kTouch && o.left < right - kTouch && top < o.bottom - kTouch && o.top < bottom - kTouch;
    }
};

Box boxOf(const Label& label) {
    const double width = textWidth(label.text, label.size);
    const double start = label.anchor == TextAnchor::Start ? 0 : label.anchor == TextAnchor::Middle ? -width / 2 : -width;
    if (label.vertical) return {label.at.x - label.size * 0.8, label.at.y - start - width, label.at.x + label.size * 0.2, label.at.y - start};
    return {label.at.x + start, label.at.y - label.size * 0.8, label.at.x + start + width, label.at.y + label.size * 0.2};
}

// From the window's start-up tab to a page: no text lies over another, and all lies within
// the figure.
TEST(HindcastFigure, TextsKeepApartOnSmallAndLargeCanvases) {
    const std::vector<std::string> names{"R0", "R1", "R2", "R3", "R4", "R5"};
    engine::HindcastYear year = threeAndTwo();
    year.targetName = "Harmonia axyridis";
    for (const auto& [w, h] : std::vector<std::pair<double, double>>{{300, 220}, {317, 260}, {420, 330}, {760, 560}}) {
        const Scene scene = buildHindcastPlot(year, names, w, h);
        std::vector<std::pair<std::string, Box>> boxes;
        for (const Label& label : scene.overlay.labels) boxes.emplace_back(label.text, boxOf(label));
        for (std::size_t a = 0; a < boxes.size(); ++a) {
            EXPECT_GE(boxes[a].second.left, -1) << boxes[a].first << " at " << w << "x" << h;
            EXPECT_LE(boxes[a].second.bottom, scene.height + 1) << boxes[a].first << " at " << w << "x" << h;
            for (std::size_t b = a + 1; b < boxes.size(); ++b)
                EXPECT_FALSE(boxes[a].second.overlaps(boxes[b].second))
                    << boxes[a].first << " / " << boxes[b].first << " at " << w << "x" << h;
        }
    }
}

}  // namespace
}  // namespace el::figures
