#include "figures/cairo_text.hpp"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace el::figures {
namespace {

// The families asked for by name; fontconfig adds a font for every character they lack.
constexpr const char* kFamilies = "DejaVu Sans,Noto Sans CJK JP";

// Pango's objects belong to one thread, and its default font map is one per thread: each
// thread that sets text keeps a context of its own for as long as it runs.
struct ContextHolder {
    PangoContext* context = nullptr;
    ContextHolder() : context(pango_font_map_create_context(pango_cairo_font_map_get_default())) {
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        pango_cairo_context_set_font_options(context, options);
        cairo_font_options_destroy(options);
        // Widths in fractions of a pixel, so that they scale with the size.
        pango_context_set_round_glyph_positions(context, FALSE);
    }
    ContextHolder(const ContextHolder&) = delete;
    ContextHolder& operator=(const ContextHolder&) = delete;
    ~ContextHolder() { g_object_unref(context); }
};

PangoContext* textContext() {
    thread_local const ContextHolder holder;
    return holder.context;
}

// Valid UTF-8 (each bad sequence a U+FFFD) with control characters as blanks: a label is
// one line whatever its bytes, and a NUL byte ends nothing.
std::string drawable(std::string_view text) {
    std::string blanked(text);
    const auto control = [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; };
    std::replace_if(blanked.begin(), blanked.end(), control, ' ');
    gchar* valid = g_utf8_make_valid(blanked.c_str(), static_cast<gssize>(blanked.size()));
    std::string out(valid);
    g_free(valid);
    return out;
}

// Every text is laid out at this size and scaled to the size asked for: without hinting,
// glyph outlines and advances scale exactly, and fontconfig sorts the fallback fonts of one
// size only, instead of once for each of the many sizes that fitting a text gives.
constexpr double kLayoutSize = 64;

// Sets the coordinates of the layout at the current point.
class LayoutSpace {
public:
    LayoutSpace(cairo_t* cr, double scale) : cr_(cr) {
        double x = 0, y = 0;
        if (cairo_has_current_point(cr)) cairo_get_current_point(cr, &x, &y);
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_scale(cr, scale, scale);
        cairo_move_to(cr, 0, 0);
    }
    LayoutSpace(const LayoutSpace&) = delete;
    LayoutSpace& operator=(const LayoutSpace&) = delete;
    ~LayoutSpace() { cairo_restore(cr_); }

private:
    cairo_t* cr_;
};

}  // namespace

void TextLine::Unref::operator()(PangoLayout* layout) const { g_object_unref(layout); }

TextLine::TextLine(std::string_view text, double size)
    : layout_(pango_layout_new(textContext())), scale_(std::isfinite(size) && size > 0 ? size / kLayoutSize : 0) {
    PangoFontDescription* font = pango_font_description_from_string(kFamilies);
    pango_font_description_set_absolute_size(font, kLayoutSize * PANGO_SCALE);
    pango_layout_set_font_description(layout_.get(), font);
    pango_font_description_free(font);
    pango_layout_set_single_paragraph_mode(layout_.get(), TRUE);
    const std::string clean = drawable(text);
    pango_layout_set_text(layout_.get(), clean.data(), static_cast<int>(clean.size()));
}

double TextLine::width() const {
    PangoRectangle logical;
    pango_layout_get_extents(layout_.get(), nullptr, &logical);
    return static_cast<double>(logical.width) / PANGO_SCALE * scale_;
}

void TextLine::wrapAt(double width) {
    // Pango widths are whole 1/1024 pixels in an int.
    constexpr double kWidest = 1e6;
    const double unscaled = scale_ > 0 ? width / scale_ : kWidest;
    const double within = std::isfinite(unscaled) ? std::clamp(unscaled, 0.0, kWidest) : kWidest;
    pango_layout_set_width(layout_.get(), static_cast<int>(within * PANGO_SCALE));
    pango_layout_set_wrap(layout_.get(), PANGO_WRAP_WORD_CHAR);
}

void TextLine::draw(cairo_t* cr) const {
    if (scale_ <= 0) return;
    const LayoutSpace space(cr, scale_);
    pango_cairo_show_layout_line(cr, pango_layout_get_line_readonly(layout_.get(), 0));
}

void TextLine::addPath(cairo_t* cr) const {
    if (scale_ <= 0) return;
    const LayoutSpace space(cr, scale_);
    pango_cairo_layout_line_path(cr, pango_layout_get_line_readonly(layout_.get(), 0));
}

void showText(cairo_t* cr, std::string_view text, double size) { TextLine(text, size).draw(cr); }

}  // namespace el::figures
