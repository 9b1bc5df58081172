#include "figures/figure_file.hpp"

#include <cairo-pdf.h>
#include <cairo-svg.h>

#include <cmath>
#include <exception>
#include <stdexcept>

#include "base/file_replace.hpp"
#include "base/text.hpp"
#include "figures/cairo_output.hpp"
#include "figures/cairo_scene.hpp"

namespace el::figures {
namespace {

int pixels(double size) { return std::max(1, static_cast<int>(std::ceil(size))); }

// Draws the scene on a stream surface made by `create` and returns what it wrote.
template <typename Create>
std::string streamed(const Scene& scene, Create create) {
    std::string bytes;
    cairo_surface_t* surface = create(&bytes);
    cairo_t* cr = cairo_create(surface);
    drawScene(cr, scene);
    cairo_show_page(cr);
    cairo_destroy(cr);
    if (!finishSurface(surface)) throw std::runtime_error("the figure could not be drawn");
    return bytes;
}

std::string pngBytes(const Scene& scene) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, pixels(scene.width), pixels(scene.height));
    cairo_t* cr = cairo_create(surface);
    drawScene(cr, scene);
    cairo_destroy(cr);
    std::string bytes;
    const cairo_status_t status = cairo_surface_write_to_png_stream(surface, appendToString, &bytes);
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) throw std::runtime_error("the figure could not be drawn");
    return bytes;
}

std::string svgBytes(const Scene& scene) {
    return streamed(scene, [&](std::string* out) {
        cairo_surface_t* s = cairo_svg_surface_create_for_stream(appendToString, out, scene.width, scene.height);
        cairo_svg_surface_restrict_to_version(s, CAIRO_SVG_VERSION_1_1);
        cairo_svg_surface_set_document_unit(s, CAIRO_SVG_UNIT_PX);
        return s;
    });
}

std::string pdfBytes(const Scene& scene) {
    return streamed(scene, [&](std::string* out) {
        cairo_surface_t* s = cairo_pdf_surface_create_for_stream(appendToString, out, scene.width, scene.height);
        stampPdf(s, "");
        return s;
    });
}

}  // namespace

std::optional<FigureFormat> figureFormatOf(const std::filesystem::path& file) {
    const std::string ext = asciiLower(file.extension().string());
    if (ext == ".svg") return FigureFormat::Svg;
    if (ext == ".png") return FigureFormat::Png;
    if (ext == ".pdf") return FigureFormat::Pdf;
    return std::nullopt;
}

std::string figureBytes(const Scene& scene, FigureFormat format) {
    switch (format) {
    case FigureFormat::Svg: return renumberSvgIds(svgBytes(scene), "d");
    case FigureFormat::Png: return pngBytes(scene);
    case FigureFormat::Pdf: return pdfBytes(scene);
    }
    return {};
}

std::string inlineSvg(const Scene& scene, const std::string& idPrefix) {
    std::string svg = renumberSvgIds(svgBytes(scene), idPrefix);
    if (svg.starts_with("<?xml")) svg.erase(0, svg.find('\n') + 1);
    return svg;
}

std::optional<std::string> writeFigure(const Scene& scene, const std::filesystem::path& file) {
    const auto format = figureFormatOf(file);
    if (!format) return "The figure file \"" + file.string() + "\" is neither .png, .svg nor .pdf";
    std::string bytes;
    try {
        bytes = figureBytes(scene, *format);
    } catch (const std::exception& error) {
        return "The figure file \"" + file.string() + "\" cannot be made: " + error.what();
    }
    if (auto reason = replaceFile(file, bytes))
        return "The figure file \"" + file.string() + "\" cannot be written: " + *reason;
    return std::nullopt;
}

}  // namespace el::figures
