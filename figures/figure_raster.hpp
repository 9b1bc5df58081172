#pragma once
// A figure drawn into memory, for the window to show: the same drawing as the files.

#include <cstdint>
#include <vector>

#include "figures/affine.hpp"
#include "figures/scene.hpp"

namespace el::figures {

// Pixels row by row, each a premultiplied 32-bit ARGB value in the machine's byte order
// (what Qt calls Format_ARGB32_Premultiplied).
struct ArgbImage {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)]; }
};

// A width x height image filled with the scene's background, the scene drawn through
// `device` (canvas to image pixels) with its content layer moved by `content` first.
ArgbImage renderArgb(const Scene& scene, int width, int height, const Affine& device = {},
                     const Affine& content = {});

}  // namespace el::figures
