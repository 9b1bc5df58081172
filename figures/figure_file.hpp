#pragma once
// A figure as the bytes of a file: SVG text or a PNG picture, chosen by the file's extension.

#include <filesystem>
#include <optional>
#include <string>

#include "figures/scene.hpp"

namespace el::figures {

enum class FigureFormat { Svg, Png };

// ".svg" or ".png" in any letter case; nothing for any other extension.
std::optional<FigureFormat> figureFormatOf(const std::filesystem::path& file);

std::string figureBytes(const Scene& scene, FigureFormat format);

}  // namespace el::figures
