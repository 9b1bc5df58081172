#include "figures/figure_raster.hpp"

#include <algorithm>

#include "figures/cairo_scene.hpp"

namespace el::figures {

ArgbImage renderArgb(const Scene& scene, int width, int height, const Affine& device, const Affine& content) {
    ArgbImage image;
    image.width = std::max(width, 0);
    image.height = std::max(height, 0);
    image.pixels.assign(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height), 0);
    if (image.pixels.empty()) return image;
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(image.pixels.data()), CAIRO_FORMAT_ARGB32, image.width, image.height,
        image.width * 4);
    cairo_t* cr = cairo_create(surface);
    setColour(cr, scene.background);
    cairo_paint(cr);
    const cairo_matrix_t matrix{device.xx, device.yx, device.xy, device.yy, device.x0, device.y0};
    cairo_set_matrix(cr, &matrix);
    drawScene(cr, scene, content);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return image;
}

}  // namespace el::figures
