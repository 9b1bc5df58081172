// Region names on the map: never two overlapping, none beyond the frame, larger regions
// first, in a band that keeps them readable on any fill.

#include "figures/map_labels.hpp"

#include <gtest/gtest.h>

#include "figures/colour.hpp"
#include "figures/font_text.hpp"
#include "figures/map_figure.hpp"
#include "tests/figures/figure_fixture.hpp"

namespace el::figures {
namespace {

PixelRect boxOf(const Label& l) {
    const double half = textWidth(l.text, l.size) / 2;
    return {l.at.x - half, l.at.y - l.size, l.at.x + half, l.at.y};
}

bool overlap(const PixelRect& a, const PixelRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(MapLabels, NamesThatWouldOverlapOrLeaveTheFrameAreLeftOut) {
    const PixelRect frame{0, 0, 400, 300};
    Layer layer;
    const int placed = placeRegionLabels(
        layer,
        {{{100, 100}, "Smallland", 1},
         {{110, 102}, "Bigland", 50},        // placed first: larger
         {{300, 200}, "Elsewhere", 5},
         {{398, 20}, "Edge of the map", 9},  // would reach past the frame
         {{200, 250}, "", 9}},
        frame);
    EXPECT_EQ(placed, 2);
    ASSERT_EQ(layer.labels.size(), 2u);
    EXPECT_EQ(layer.labels[0].text, "Bigland");
    EXPECT_EQ(layer.labels[1].text, "Elsewhere");
    EXPECT_EQ(layer.labels[0].halo, (Rgb{255, 255, 255})) << "a white band around the letters";
}

TEST(MapLabels, TheMapWritesNamesOnlyWhenAskedAndNeverOverlapping) {
    // Forty narrow regions side by side: far too many names for one row.
    std::vector<std::string> names;
    for (int k = 0; k < 40; ++k) names.push_back("Region number " + std::to_string(k));
    const vec::VectorData data = test::squareRow(names, 130, 30, 0.2);
    const auto run = test::squareRowRun(names, "T");
    const auto degreeLabels = buildMap(data, run, {}).content.labels.size();
    MapOptions options;
    options.labels = true;
    const Scene scene = buildMap(data, run, {}, 900, 640, options);
    std::vector<Label> names_;
    for (const Label& l : scene.content.labels)
        if (l.text.rfind("Region", 0) == 0) names_.push_back(l);
    EXPECT_EQ(scene.content.labels.size() - names_.size(), degreeLabels);
    ASSERT_GT(names_.size(), 1u);
    EXPECT_LT(names_.size(), names.size()) << "some do not fit";
    for (std::size_t i = 0; i < names_.size(); ++i)
        for (std::size_t j = i + 1; j < names_.size(); ++j)
            EXPECT_FALSE(overlap(boxOf(names_[i]), boxOf(names_[j]))) << names_[i].text << " / " << names_[j].text;
}

}  // namespace
}  // namespace el::figures
