// The toolkit-free picture path: checksums on known vectors, scanline fills by both rules,
// lines with width and dashes, bitmap labels. The PNG layout is read back by the batch tests.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "figures/bitmap_font.hpp"
#include "figures/checksums.hpp"
#include "figures/scanline_fill.hpp"
#include "figures/scene_raster.hpp"
#include "figures/stroke_geometry.hpp"

namespace el::figures {
namespace {

std::vector<std::uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kRed{255, 0, 0};

int countColour(const RasterImage& image, Rgb colour) {
    int n = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) n += image.at(x, y) == colour ? 1 : 0;
    return n;
}

std::vector<Point> square(double x0, double y0, double x1, double y1) { return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}; }

TEST(Checksums, KnownVectorsAndContinuation) {
    EXPECT_EQ(crc32(bytesOf("123456789")), 0xCBF43926u);
    EXPECT_EQ(crc32(bytesOf("")), 0u);
    EXPECT_EQ(crc32(bytesOf("IEND")), 0xAE426082u);  // the CRC every PNG ends with
    EXPECT_EQ(adler32(bytesOf("Wikipedia")), 0x11E60398u);
    EXPECT_EQ(adler32(bytesOf("")), 1u);

    const auto whole = bytesOf("The quick brown fox jumps over the lazy dog");
    const std::span<const std::uint8_t> all(whole);
    EXPECT_EQ(crc32(all.subspan(10), crc32(all.first(10))), crc32(all));
    EXPECT_EQ(adler32(all.subspan(10), adler32(all.first(10))), adler32(all));

    // Long runs of 0xFF are where a missed reduction overflows.
    std::vector<std::uint8_t> data(200000, 0xFF);
    std::uint64_t a = 1, b = 0;
    for (auto byte : data) a = (a + byte) % 65521, b = (b + a) % 65521;
    EXPECT_EQ(adler32(data), static_cast<std::uint32_t>((b << 16) | a));
}

TEST(ScanlineFill, FillsASquareExactly) {
    RasterImage image(30, 30, kWhite);
    fillRings(image, {square(10, 10, 20, 20)}, FillRule::EvenOdd, kRed);
    EXPECT_EQ(countColour(image, kRed), 100);
    EXPECT_EQ(image.at(10, 10), kRed);
    EXPECT_EQ(image.at(19, 19), kRed);
    EXPECT_EQ(image.at(20, 19), kWhite);
    EXPECT_EQ(image.at(19, 20), kWhite);
}

TEST(ScanlineFill, HolesByRuleAndOrientation) {
    const std::vector<Point> outer = square(0, 0, 20, 20);
    const std::vector<Point> inner = square(5, 5, 15, 15);
    const std::vector<Point> innerReversed(inner.rbegin(), inner.rend());

    RasterImage evenOdd(20, 20, kWhite);
    fillRings(evenOdd, {outer, inner}, FillRule::EvenOdd, kRed);
    EXPECT_EQ(countColour(evenOdd, kRed), 400 - 100);
    EXPECT_EQ(evenOdd.at(10, 10), kWhite);

    RasterImage sameWay(20, 20, kWhite);
    fillRings(sameWay, {outer, inner}, FillRule::NonZero, kRed);
    EXPECT_EQ(countColour(sameWay, kRed), 400);

    RasterImage otherWay(20, 20, kWhite);
    fillRings(otherWay, {outer, innerReversed}, FillRule::NonZero, kRed);
    EXPECT_EQ(countColour(otherWay, kRed), 300);
}

TEST(ScanlineFill, ClipsToTheCanvasAndSkipsBadPoints) {
    RasterImage image(10, 10, kWhite);
    fillRings(image, {square(-1e30, -1e30, 1e30, 5)}, FillRule::EvenOdd, kRed);
    EXPECT_EQ(countColour(image, kRed), 50);

    RasterImage nothing(10, 10, kWhite);
    fillRings(nothing, {{{0, 0}, {std::nan(""), 5}, {10, 10}}}, FillRule::EvenOdd, kRed);
    fillRings(nothing, {square(20, 20, 30, 30)}, FillRule::EvenOdd, kRed);
    EXPECT_EQ(countColour(nothing, kRed), 0);
}

// A horizontal line from x0 to x1 at height y, stroked in red on a white canvas 20 high.
RasterImage stroked(double x0, double x1, double y, const Stroke& stroke) {
    RasterImage image(static_cast<int>(x1) + 5, 20, kWhite);
    for (const auto& piece : strokeOutline({{x0, y}, {x1, y}}, false, stroke)) fillRings(image, {piece}, FillRule::NonZero, kRed);
    return image;
}

TEST(Strokes, WidthAndDashes) {
    const RasterImage solid = stroked(5, 25, 10, {kRed, 3, Dash::Solid});
    EXPECT_EQ(countColour(solid, kRed), 20 * 3);
    EXPECT_EQ(solid.at(15, 8), kRed);
    EXPECT_EQ(solid.at(15, 10), kRed);
    EXPECT_EQ(solid.at(15, 11), kWhite);
    EXPECT_EQ(countColour(stroked(5, 25, 10.5, {kRed, 0.2, Dash::Solid}), kRed), 20) << "a hair line shows one pixel wide";

    // Dashes of 3 on, 2 off (times the width 2) along 50 pixels: five dashes of 6 pixels.
    EXPECT_EQ(strokeOutline({{0, 10}, {50, 10}}, false, {kRed, 2, Dash::Dashed}).size(), 5u);
    const RasterImage dashed = stroked(0, 50, 10, {kRed, 2, Dash::Dashed});
    EXPECT_EQ(countColour(dashed, kRed), 5 * 6 * 2);
    EXPECT_EQ(dashed.at(2, 10), kRed);
    EXPECT_EQ(dashed.at(7, 10), kWhite);
}

TEST(BitmapLabels, GlyphsAnchorsAndUnknownCharacters) {
    RasterImage image(60, 20, kWhite);
    Label label{{10, 15}, "I", 10, TextAnchor::Start, kRed, false};
    drawLabel(image, label);
    // "I" at unit scale: a serifed bar, seven rows from y 8 to 14, centre column x 12.
    for (int y = 8; y <= 14; ++y) EXPECT_EQ(image.at(12, y), kRed) << y;
    EXPECT_EQ(image.at(12, 15), kWhite);
    EXPECT_EQ(countColour(image, kRed), 7 + 4);

    RasterImage ended(60, 20, kWhite);
    label.anchor = TextAnchor::End;
    label.at = {40, 15};
    drawLabel(ended, label);
    int rightmost = -1;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x)
            if (ended.at(x, y) == kRed) rightmost = std::max(rightmost, x);
    EXPECT_EQ(rightmost, 38);  // the glyph's last column ends at the anchor

    // A character outside ASCII is one box, not one per byte.
    EXPECT_EQ(decodeUtf8("\xE5\x88\x86" "a").size(), 2u);
    EXPECT_EQ(glyphFor(U'\u5206'), (GlyphColumns{0x7F, 0x41, 0x41, 0x41, 0x7F}));
    EXPECT_EQ(decodeUtf8("\xE5\x88").size(), 2u);  // cut short: each byte on its own
}

TEST(Rasterise, CanvasBackgroundAndLayers) {
    Scene scene;
    scene.width = 40.2;
    scene.height = 30;
    scene.background = {1, 2, 3};
    Shape box;
    box.rings = {square(0, 0, 10, 10)};
    box.fill = kRed;
    scene.content.shapes.push_back(box);
    Shape cover = box;
    cover.fill = Rgb{0, 0, 255};
    scene.overlay.shapes.push_back(cover);  // the overlay is drawn over the content
    const RasterImage image = rasterise(scene);
    EXPECT_EQ(image.width, 41);
    EXPECT_EQ(image.height, 30);
    EXPECT_EQ(image.at(5, 5), (Rgb{0, 0, 255}));
    EXPECT_EQ(image.at(20, 20), (Rgb{1, 2, 3}));
}

}  // namespace
}  // namespace el::figures
