#include "figures/cairo_scene.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "figures/cairo_text.hpp"

namespace el::figures {
namespace {

constexpr double kHatchStep = 6;

// Cairo keeps coordinates in fixed point: a zoomed-in point far off the canvas is pulled in
// to where it still draws the same visible edges.
double bounded(double v) { return std::clamp(v, -1e6, 1e6); }

void appendRings(cairo_t* cr, const Shape& shape, const Affine& view) {
    for (const auto& ring : shape.rings) {
        bool started = false;
        for (const Point& point : ring) {
            if (!std::isfinite(point.x) || !std::isfinite(point.y)) continue;
            const Point p = view.map(point);
            if (started) cairo_line_to(cr, bounded(p.x), bounded(p.y));
            else cairo_move_to(cr, bounded(p.x), bounded(p.y));
            started = true;
        }
        if (started && shape.closed) cairo_close_path(cr);
    }
}

void useStroke(cairo_t* cr, const Stroke& stroke) {
    setColour(cr, stroke.color);
    cairo_set_line_width(cr, stroke.width);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    const double dashed[] = {stroke.width * 3, stroke.width * 2}, dotted[] = {1.5, 2.5};
    if (stroke.dash == Dash::Dashed) cairo_set_dash(cr, dashed, 2, 0);
    else if (stroke.dash == Dash::Dotted) cairo_set_dash(cr, dotted, 2, 0);
    else cairo_set_dash(cr, nullptr, 0, 0);
}

// Thin diagonal lines over the inside of the current path; the path is used up.
void hatchPath(cairo_t* cr, Rgb colour) {
    cairo_save(cr);
    cairo_clip_preserve(cr);
    double x0, y0, x1, y1;
    cairo_clip_extents(cr, &x0, &y0, &x1, &y1);
    cairo_new_path(cr);
    for (double d = std::floor((x0 + y0) / kHatchStep) * kHatchStep; d <= x1 + y1; d += kHatchStep) {
        cairo_move_to(cr, d - y0, y0);
        cairo_line_to(cr, d - y1, y1);
    }
    setColour(cr, colour);
    cairo_set_line_width(cr, 1);
    cairo_set_dash(cr, nullptr, 0, 0);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void drawShape(cairo_t* cr, const Shape& shape, const Affine& view) {
    cairo_new_path(cr);
    appendRings(cr, shape, view);
    if (shape.closed && shape.fill) {
        setColour(cr, *shape.fill);
        cairo_fill_preserve(cr);
    }
    if (shape.closed && shape.hatched) {
        hatchPath(cr, shape.hatchColour);
        cairo_new_path(cr);
        appendRings(cr, shape, view);
    }
    if (shape.stroke) {
        useStroke(cr, *shape.stroke);
        cairo_stroke(cr);
    }
    cairo_new_path(cr);
}

void drawMarker(cairo_t* cr, const Marker& m, const Affine& view) {
    const Point c = view.map(m.at);
    if (!std::isfinite(c.x) || !std::isfinite(c.y)) return;
    const double r = m.size / 2, x = bounded(c.x), y = bounded(c.y);
    cairo_new_path(cr);
    switch (m.kind) {
    case MarkerKind::Circle: cairo_arc(cr, x, y, r, 0, 2 * std::numbers::pi); break;
    case MarkerKind::Square: cairo_rectangle(cr, x - r, y - r, m.size, m.size); break;
    case MarkerKind::Triangle:
        cairo_move_to(cr, x, y - r);
        cairo_line_to(cr, x + r, y + r);
        cairo_line_to(cr, x - r, y + r);
        cairo_close_path(cr);
        break;
    case MarkerKind::Cross:
        cairo_move_to(cr, x - r, y - r);
        cairo_line_to(cr, x + r, y + r);
        cairo_move_to(cr, x - r, y + r);
        cairo_line_to(cr, x + r, y - r);
        break;
    }
    if (m.fill && m.kind != MarkerKind::Cross) {
        setColour(cr, *m.fill);
        cairo_fill_preserve(cr);
    }
    useStroke(cr, m.stroke);
    cairo_stroke(cr);
}

void drawLabel(cairo_t* cr, const Label& label, const Affine& view) {
    const Point at = view.map(label.at);
    if (label.text.empty() || !std::isfinite(at.x) || !std::isfinite(at.y) || !(label.size > 0)) return;
    const TextLine text(label.text, label.size);
    const double width = label.anchor == TextAnchor::Start ? 0 : text.width();
    const double shift = label.anchor == TextAnchor::Middle ? width / 2 : width;
    cairo_save(cr);
    cairo_translate(cr, bounded(at.x), bounded(at.y));
    if (label.vertical) cairo_rotate(cr, -std::numbers::pi / 2);
    if (label.halo) {
        cairo_new_path(cr);
        cairo_move_to(cr, -shift, 0);
        text.addPath(cr);
        setColour(cr, *label.halo);
        cairo_set_line_width(cr, label.size / 4);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_set_dash(cr, nullptr, 0, 0);
        cairo_stroke(cr);
    }
    cairo_new_path(cr);
    cairo_move_to(cr, -shift, 0);
    setColour(cr, label.color);
    text.draw(cr);
    cairo_new_path(cr);
    cairo_restore(cr);
}

void drawLayer(cairo_t* cr, const Layer& layer, const Affine& view) {
    for (const Shape& shape : layer.shapes) drawShape(cr, shape, view);
    for (const Marker& marker : layer.markers) drawMarker(cr, marker, view);
    for (const Label& label : layer.labels) drawLabel(cr, label, view);
}

}  // namespace

void drawScene(cairo_t* cr, const Scene& scene, const Affine& content) {
    cairo_save(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_rectangle(cr, 0, 0, scene.width, scene.height);
    setColour(cr, scene.background);
    cairo_fill(cr);
    drawLayer(cr, scene.underlay, content);
    drawLayer(cr, scene.content, content);
    drawLayer(cr, scene.overlay, Affine{});
    cairo_restore(cr);
}

}  // namespace el::figures
