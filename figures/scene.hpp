#pragma once
// A figure as plain drawing primitives, free of any toolkit. One renderer draws it for the
// window, the figure files (PNG, SVG, PDF) and the report. Coordinates are pixels of a
// width x height canvas, y downwards.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace el::figures {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct Point {
    double x = 0, y = 0;
};

enum class Dash { Solid, Dashed, Dotted };

struct Stroke {
    Rgb color;
    double width = 1;
    Dash dash = Dash::Solid;
};

// A filled and/or outlined path of one or more rings (even-odd fill), or an open line.
struct Shape {
    std::vector<std::vector<Point>> rings;
    bool closed = true;
    std::optional<Rgb> fill;
    std::optional<Stroke> stroke;
    bool hatched = false;  // thin diagonal lines over the fill
    Rgb hatchColour{80, 80, 80};
    int region = -1;       // the region number it draws, -1 for decoration
    std::string tip;       // hover text; empty for none
};

enum class MarkerKind { Circle, Square, Triangle, Cross };

// A symbol of fixed pixel size that does not scale when the view zooms.
struct Marker {
    Point at;
    MarkerKind kind = MarkerKind::Circle;
    double size = 8;
    std::optional<Rgb> fill;
    Stroke stroke;
    int region = -1;
    std::string tip;
};

enum class TextAnchor { Start, Middle, End };

// One line of text; figures wrap and shrink their texts to fit when they build the scene
// (see text_fit.hpp), so a label is drawn as it is.
struct Label {
    Point at;  // baseline point; in the content layer it follows the zoom, its size does not
    std::string text;
    double size = 12;  // pixel height of the font
    TextAnchor anchor = TextAnchor::Start;
    Rgb color;
    bool vertical = false;  // turned 90 degrees counter-clockwise about `at`
    std::optional<Rgb> halo = std::nullopt;  // a band of this colour around the letters (names over a map)
};

struct Layer {
    std::vector<Shape> shapes;
    std::vector<Marker> markers;
    std::vector<Label> labels;
};

// A straight line from `a` to `b`: a tick, an axis, a legend sample, a diagonal.
inline Shape segment(Point a, Point b, Stroke stroke) {
    Shape s;
    s.closed = false;
    s.rings = {{a, b}};
    s.stroke = stroke;
    return s;
}

// The rectangle with corners (x0, y0) and (x1, y1), as yet with neither fill nor outline.
inline Shape box(double x0, double y0, double x1, double y1) {
    Shape s;
    s.rings = {{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}};
    return s;
}

struct Scene {
    double width = 800, height = 600;
    Rgb background{255, 255, 255};
    Layer underlay;  // under the data, zoomed and panned with it: a map's meridians and parallels
    Layer content;   // data: zoomed and panned by an interactive view
    Layer overlay;  // title, legend, axes: fixed
};

}  // namespace el::figures
