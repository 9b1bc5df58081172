#pragma once
// An RGB picture in memory, rows top to bottom, three bytes per pixel.

#include <cstdint>
#include <vector>

#include "figures/scene.hpp"

namespace el::figures {

struct RasterImage {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;  // width * height * 3

    RasterImage(int w, int h, Rgb background);

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    Rgb at(int x, int y) const;
    void set(int x, int y, Rgb colour);
};

}  // namespace el::figures
