// The drawing of figures: Japanese text comes out in real glyphs in PNG and PDF, the PNG,
// SVG and PDF of one map show the same regions, SVG text is the same every time, and the
// window's image follows its zoom.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>
#include <set>

#include "figures/cairo_output.hpp"
#include "figures/colour.hpp"
#include "figures/figure_file.hpp"
#include "figures/figure_raster.hpp"
#include "figures/font_text.hpp"
#include "figures/map_figure.hpp"
#include "tests/figures/figure_fixture.hpp"
#include "tests/support/figure_files.hpp"

namespace el::figures {
namespace {

using el::test::decodePng;
using el::test::Pixels;

constexpr Rgb kWhite{255, 255, 255};

std::uint32_t packed(Rgb c) {
    return static_cast<std::uint32_t>(c.r) << 16 | static_cast<std::uint32_t>(c.g) << 8 | static_cast<std::uint32_t>(c.b);
}

Scene oneLabel(const std::string& text, double size = 40) {
    Scene scene;
    scene.width = size * 1.6;
    scene.height = size * 1.5;
    scene.overlay.labels.push_back({{size * 0.2, size * 1.1}, text, size, TextAnchor::Start, {0, 0, 0}});
    return scene;
}

// The pixels darker than mid-grey: where the glyph put its ink.
std::vector<bool> ink(const Pixels& p) {
    std::vector<bool> mask;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) mask.push_back((p.rgb(x, y) & 0xFF) < 128);
    return mask;
}

// The share of inked pixels the two masks do not have in common.
double difference(const std::vector<bool>& a, const std::vector<bool>& b) {
    int both = 0, either = 0;
    for (std::size_t i = 0; i < a.size(); ++i) both += a[i] && b[i], either += a[i] || b[i];
    return either == 0 ? 0 : 1.0 - static_cast<double>(both) / either;
}

std::vector<bool> inkOf(const std::string& text) {
    const auto pixels = decodePng(figureBytes(oneLabel(text), FigureFormat::Png));
    EXPECT_TRUE(pixels);
    return pixels ? ink(*pixels) : std::vector<bool>{};
}

TEST(FigureText, JapaneseNamesAreDrawnInRealGlyphs) {
    // U+0378 is no character: no font has it, so it draws the missing-glyph box.
    EXPECT_EQ(missingGlyphCount("\u0378"), 1);
    EXPECT_EQ(fontFamiliesUsed("Aomori"), std::vector<std::string>{"DejaVu Sans"});
    EXPECT_EQ(fontFamiliesUsed("分布"), std::vector<std::string>{"Noto Sans CJK JP"});
    const std::vector<bool> box = inkOf("\u0378");
    ASSERT_GT(std::count(box.begin(), box.end(), true), 20);
    std::vector<std::vector<bool>> glyphs;
    for (const char* c : {"分", "布", "未", "不", "明", "県"}) {
        glyphs.push_back(inkOf(c));
        EXPECT_GT(std::count(glyphs.back().begin(), glyphs.back().end(), true), 20) << c << " has ink";
        EXPECT_GT(difference(glyphs.back(), box), 0.5) << c << " is not the missing-glyph box";
    }
    for (std::size_t i = 1; i < glyphs.size(); ++i) EXPECT_GT(difference(glyphs[0], glyphs[i]), 0.3) << i;

    // Anti-aliased: the edges of the glyphs hold greys between ink and paper.
    const auto pixels = decodePng(figureBytes(oneLabel("分布 Aomori"), FigureFormat::Png));
    ASSERT_TRUE(pixels);
    std::set<std::uint32_t> greys;
    for (std::uint32_t argb : pixels->argb) greys.insert(argb & 0xFF);
    EXPECT_GT(greys.size(), 30u);
}

TEST(FigureText, PdfHoldsTheJapaneseText) {
    const std::vector<std::string> names{"青森", "秋田", "Miyagi"};
    const Scene map = buildMap(test::squareRow(names, 130, 30, 1), test::squareRowRun(names, "分布種"), {});
    el::test::TempDir dir;
    el::test::writeFile(dir / "map.pdf", figureBytes(map, FigureFormat::Pdf));
    const std::string text = el::test::pdfText(dir / "map.pdf");
    EXPECT_NE(text.find("Predicted date of 分布種"), std::string::npos) << text;
    // A PDF of labels of keywords and region names.
    Scene labels;
    labels.overlay.labels = {{{20, 40}, "分布 未分布 不明", 14, TextAnchor::Start, {0, 0, 0}},
                             {{20, 80}, "青森 秋田 Miyagi", 14, TextAnchor::Start, {0, 0, 0}}};
    el::test::writeFile(dir / "labels.pdf", figureBytes(labels, FigureFormat::Pdf));
    const std::string words = el::test::pdfText(dir / "labels.pdf");
    for (const char* word : {"分布", "未分布", "不明", "青森", "秋田", "Miyagi"})
        EXPECT_NE(words.find(word), std::string::npos) << word << " in " << words;
}

// A point inside each region of the two square-row maps (the middle of its first ring).
std::map<int, Point> regionMiddles(const Scene& scene) {
    std::map<int, Point> middles;
    for (const Shape& s : scene.content.shapes) {
        if (s.region < 0 || s.rings.empty()) continue;
        Point sum;
        for (const Point& p : s.rings[0]) sum.x += p.x, sum.y += p.y;
        const double n = static_cast<double>(s.rings[0].size());
        middles[s.region] = {sum.x / n, sum.y / n};
    }
    return middles;
}

// The region fills of a Cairo SVG text ("fill:rgb(26.666667%,0.392157%,32.941176%)"),
// as 0xRRGGBB.
std::multiset<std::uint32_t> svgFills(const std::string& svg) {
    std::multiset<std::uint32_t> fills;
    for (const std::string& rgb : el::test::textsAfter(svg, "fill:rgb(", ')')) {
        std::istringstream in(rgb);
        std::uint32_t c = 0;
        double percent = 0;
        char percentSign = 0, comma = 0;
        for (int i = 0; i < 3 && in >> percent >> percentSign; ++i) {
            c = c << 8 | static_cast<std::uint32_t>(std::lround(percent * 2.55));
            if (i < 2) in >> comma;
        }
        fills.insert(c);
    }
    return fills;
}

TEST(FigureFiles, PngSvgAndPdfOfOneMapShowTheSameRegions) {
    const std::vector<std::string> names{"A", "B", "C", "D", "E"};
    const Scene map = buildMap(test::squareRow(names, 1000, 0, 10), test::squareRowRun(names, "T"), {}, 600, 400);
    const auto middles = regionMiddles(map);
    ASSERT_EQ(middles.size(), names.size());

    const auto png = decodePng(figureBytes(map, FigureFormat::Png));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->width, 600);
    el::test::TempDir dir;
    el::test::writeFile(dir / "map.pdf", figureBytes(map, FigureFormat::Pdf));
    const auto pdf = el::test::pdfPage(dir / "map.pdf", dir);
    ASSERT_TRUE(pdf);
    EXPECT_EQ(pdf->width, 600);
    const auto fills = svgFills(figureBytes(map, FigureFormat::Svg));
    for (const auto& [region, at] : middles) {
        const std::uint32_t colour = packed(*map.content.shapes[static_cast<std::size_t>(region)].fill);
        const int x = static_cast<int>(at.x), y = static_cast<int>(at.y);
        EXPECT_EQ(png->rgb(x, y), colour) << region;
        const std::uint32_t page = pdf->rgb(x, y);
        for (int shift : {0, 8, 16})
            EXPECT_NEAR(static_cast<int>(page >> shift & 0xFF), static_cast<int>(colour >> shift & 0xFF), 3) << region;
        EXPECT_EQ(fills.count(colour), 1u) << region;
    }
}

TEST(FigureFiles, SvgIsTheSameEveryTimeAndInlineIdsAreOwn) {
    const Scene map = buildMap(test::fourRegions(), test::fourRegionRun(), {});
    const std::string first = figureBytes(map, FigureFormat::Svg);
    EXPECT_EQ(figureBytes(map, FigureFormat::Svg), first);
    EXPECT_EQ(first.rfind("<?xml", 0), 0u);

    const std::string inlined = inlineSvg(map, "f2-");
    EXPECT_EQ(inlined.rfind("<svg", 0), 0u);
    const auto ids = el::test::textsAfter(inlined, " id=\"", '"');
    for (const std::string& id : ids) EXPECT_EQ(id.rfind("f2-", 0), 0u) << id;
    EXPECT_GT(ids.size(), 5u);
    auto uses = el::test::textsAfter(inlined, "href=\"#", '"');
    for (const std::string& url : el::test::textsAfter(inlined, "url(#", ')')) uses.push_back(url);
    EXPECT_FALSE(uses.empty());
    for (const std::string& use : uses) EXPECT_NE(std::find(ids.begin(), ids.end(), use), ids.end()) << use;

    EXPECT_EQ(renumberSvgIds(R"svg(<g id="surface9"><use xlink:href="#glyph0-1"/></g><symbol id="glyph0-1"/>)svg"
                             R"svg(<path clip-path="url(#surface9)"/><a href="#elsewhere"/>)svg",
                             "x"),
              R"svg(<g id="x1"><use xlink:href="#x2"/></g><symbol id="x2"/><path clip-path="url(#x1)"/><a href="#elsewhere"/>)svg");
}

TEST(FigureRaster, TheWindowsImageFollowsZoomAndDeviceScale) {
    Scene scene;
    scene.width = 100;
    scene.height = 80;
    Shape square;
    square.rings = {{{10, 10}, {20, 10}, {20, 20}, {10, 20}}};
    square.fill = Rgb{255, 0, 0};
    scene.content.shapes.push_back(square);
    square.fill = Rgb{0, 0, 255};
    for (auto& p : square.rings[0]) p.x += 60;
    scene.overlay.shapes.push_back(square);

    const ArgbImage plain = renderArgb(scene, 100, 80);
    EXPECT_EQ(plain.at(15, 15) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(plain.at(75, 15) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(plain.at(30, 30) & 0xFFFFFF, packed(kWhite));
    // Zoomed twice about the origin: the content square covers 20..40, the overlay stays.
    const ArgbImage zoomed = renderArgb(scene, 100, 80, {}, Affine::scaling(2));
    EXPECT_EQ(zoomed.at(30, 30) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(zoomed.at(15, 15) & 0xFFFFFF, packed(kWhite));
    EXPECT_EQ(zoomed.at(75, 15) & 0xFFFFFF, 0x0000FFu);
    // A high-dpi screen: twice the pixels for the same canvas.
    const ArgbImage sharp = renderArgb(scene, 200, 160, Affine::scaling(2));
    EXPECT_EQ(sharp.at(145, 25) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(sharp.at(30, 30) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(sharp.at(30, 30) >> 24, 0xFFu) << "opaque";
}

}  // namespace
}  // namespace el::figures
