#pragma once
// Reading figure files back in tests: a PNG's pixels (decoded by Cairo), a PDF page as
// pixels and a PDF's text (through poppler's pdftoppm and pdftotext).

#include <cairo.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/run_batch.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::test {

struct Pixels {
    int width = 0, height = 0;
    std::vector<std::uint32_t> argb;  // 0xAARRGGBB, premultiplied
    std::uint32_t rgb(int x, int y) const {
        return argb[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] & 0xFFFFFF;
    }
};

// The pixels of PNG bytes; nothing when they are no PNG.
inline std::optional<Pixels> decodePng(const std::string& png) {
    struct Reader {
        const std::string& bytes;
        std::size_t at = 0;
    } reader{png};
    auto read = [](void* closure, unsigned char* data, unsigned int length) {
        auto* r = static_cast<Reader*>(closure);
        if (r->at + length > r->bytes.size()) return CAIRO_STATUS_READ_ERROR;
        std::copy_n(r->bytes.data() + r->at, length, data);
        r->at += length;
        return CAIRO_STATUS_SUCCESS;
    };
    cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(read, &reader);
    std::optional<Pixels> pixels;
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        cairo_surface_t* argb = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, cairo_image_surface_get_width(surface),
                                                           cairo_image_surface_get_height(surface));
        cairo_t* cr = cairo_create(argb);
        cairo_set_source_surface(cr, surface, 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_flush(argb);
        Pixels p{cairo_image_surface_get_width(argb), cairo_image_surface_get_height(argb), {}};
        const int stride = cairo_image_surface_get_stride(argb);
        const unsigned char* data = cairo_image_surface_get_data(argb);
        for (int y = 0; y < p.height; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
            p.argb.insert(p.argb.end(), row, row + p.width);
        }
        cairo_surface_destroy(argb);
        pixels = std::move(p);
    }
    cairo_surface_destroy(surface);
    return pixels;
}

// What follows each `opener` in `text` up to the next `closer`: the ids of an SVG text with
// (" id=\"", '"'), its references with ("href=\"#", '"').
inline std::vector<std::string> textsAfter(const std::string& text, const std::string& opener, char closer) {
    std::vector<std::string> found;
    for (std::size_t at = text.find(opener); at != std::string::npos; at = text.find(opener, at + 1)) {
        const std::size_t start = at + opener.size(), end = text.find(closer, start);
        if (end == std::string::npos) break;
        found.push_back(text.substr(start, end - start));
    }
    return found;
}

// Runs a shell command and returns its standard output.
inline std::string commandOutput(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
        ::pclose(pipe);
    }
    return out;
}

// The text pdftotext extracts from a PDF file.
inline std::string pdfText(const std::filesystem::path& pdf) {
    return commandOutput("pdftotext -enc UTF-8 " + shellQuote(pdf.string()) + " - 2>&1");
}

// The first page of a PDF file at 72 dpi (one point, one pixel).
inline std::optional<Pixels> pdfPage(const std::filesystem::path& pdf, const TempDir& scratch) {
    const auto prefix = scratch / "page";
    commandOutput("pdftoppm -r 72 -f 1 -l 1 -singlefile -png " + shellQuote(pdf.string()) + " " + shellQuote(prefix.string()));
    return decodePng(readFile(scratch / "page.png"));
}

}  // namespace el::test
