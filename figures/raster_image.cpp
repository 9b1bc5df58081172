#include "figures/raster_image.hpp"

#include <algorithm>

namespace el::figures {

RasterImage::RasterImage(int w, int h, Rgb background)
    : width(std::max(w, 0)), height(std::max(h, 0)), rgb(static_cast<std::size_t>(width) * height * 3) {
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        rgb[i] = background.r;
        rgb[i + 1] = background.g;
        rgb[i + 2] = background.b;
    }
}

Rgb RasterImage::at(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

void RasterImage::set(int x, int y, Rgb colour) {
    if (!contains(x, y)) return;
    const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
    rgb[i] = colour.r;
    rgb[i + 1] = colour.g;
    rgb[i + 2] = colour.b;
}

}  // namespace el::figures
