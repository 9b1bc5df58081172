#include "figures/scene_raster.hpp"

#include <algorithm>
#include <cmath>

#include "figures/bitmap_font.hpp"
#include "figures/scanline_fill.hpp"
#include "figures/stroke_geometry.hpp"

namespace el::figures {
namespace {

constexpr Rgb kHatch{80, 80, 80};
constexpr int kHatchSpacing = 6;

void strokeRing(RasterImage& image, const std::vector<Point>& ring, bool closed, const Stroke& stroke) {
    for (const auto& piece : strokeOutline(ring, closed, stroke))
        fillRings(image, {piece}, FillRule::NonZero, stroke.color);
}

void drawShape(RasterImage& image, const Shape& shape) {
    if (shape.closed && shape.fill) fillRings(image, shape.rings, FillRule::EvenOdd, *shape.fill);
    if (shape.closed && shape.hatched)
        forEachSpan(shape.rings, FillRule::EvenOdd, image.width, image.height, [&](int y, int x0, int x1) {
            for (int x = x0; x < x1; ++x)
                if ((x + y) % kHatchSpacing == 0) image.set(x, y, kHatch);
        });
    if (shape.stroke)
        for (const auto& ring : shape.rings) strokeRing(image, ring, shape.closed, *shape.stroke);
}

void drawMarker(RasterImage& image, const Marker& m) {
    const double r = m.size / 2;
    const Point c = m.at;
    if (m.kind == MarkerKind::Cross) {
        strokeRing(image, {{c.x - r, c.y - r}, {c.x + r, c.y + r}}, false, m.stroke);
        strokeRing(image, {{c.x - r, c.y + r}, {c.x + r, c.y - r}}, false, m.stroke);
        return;
    }
    std::vector<Point> outline;
    if (m.kind == MarkerKind::Circle) outline = circlePolygon(c, r);
    if (m.kind == MarkerKind::Square) outline = {{c.x - r, c.y - r}, {c.x + r, c.y - r}, {c.x + r, c.y + r}, {c.x - r, c.y + r}};
    if (m.kind == MarkerKind::Triangle) outline = {{c.x, c.y - r}, {c.x + r, c.y + r}, {c.x - r, c.y + r}};
    if (m.fill) fillRings(image, {outline}, FillRule::EvenOdd, *m.fill);
    strokeRing(image, outline, true, m.stroke);
}

}  // namespace

void drawLabel(RasterImage& image, const Label& label) {
    const std::vector<char32_t> text = decodeUtf8(label.text);
    if (text.empty()) return;
    // The glyphs' seven rows stand for the capital height, about 0.7 of the font size.
    const double unit = std::max(1.0, label.size / 10.0);
    const double length = (static_cast<double>(text.size()) * kGlyphAdvance - 1) * unit;
    double start = 0;
    if (label.anchor == TextAnchor::Middle) start = -length / 2;
    if (label.anchor == TextAnchor::End) start = -length;
    // Along the text and down from the baseline, in image directions.
    const Point along = label.vertical ? Point{0, -1} : Point{1, 0};
    const Point down = label.vertical ? Point{1, 0} : Point{0, 1};
    auto place = [&](double u, double v) {
        return Point{label.at.x + u * along.x + v * down.x, label.at.y + u * along.y + v * down.y};
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const GlyphColumns glyph = glyphFor(text[i]);
        const double left = start + static_cast<double>(i) * kGlyphAdvance * unit;
        for (int col = 0; col < kGlyphWidth; ++col)
            for (int row = 0; row < kGlyphHeight; ++row) {
                if (((glyph[col] >> row) & 1) == 0) continue;
                const double u0 = left + col * unit, u1 = u0 + unit;
                const double v0 = (row - kGlyphHeight) * unit, v1 = v0 + unit;
                fillRings(image, {{place(u0, v0), place(u1, v0), place(u1, v1), place(u0, v1)}}, FillRule::NonZero,
                          label.color);
            }
    }
}

RasterImage rasterise(const Scene& scene) {
    const auto side = [](double v) { return std::isfinite(v) ? static_cast<int>(std::clamp(std::ceil(v), 1.0, 20000.0)) : 1; };
    RasterImage image(side(scene.width), side(scene.height), scene.background);
    for (const Layer* layer : {&scene.content, &scene.overlay}) {
        for (const auto& shape : layer->shapes) drawShape(image, shape);
        for (const auto& marker : layer->markers) drawMarker(image, marker);
        for (const auto& label : layer->labels) drawLabel(image, label);
    }
    return image;
}

}  // namespace el::figures
