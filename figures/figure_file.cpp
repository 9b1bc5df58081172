#include "figures/figure_file.hpp"

#include <algorithm>
#include <cctype>

#include "figures/png_writer.hpp"
#include "figures/scene_raster.hpp"
#include "figures/svg_writer.hpp"

namespace el::figures {

std::optional<FigureFormat> figureFormatOf(const std::filesystem::path& file) {
    std::string ext = file.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == ".svg") return FigureFormat::Svg;
    if (ext == ".png") return FigureFormat::Png;
    return std::nullopt;
}

std::string figureBytes(const Scene& scene, FigureFormat format) {
    if (format == FigureFormat::Svg) return toSvg(scene);
    const auto png = encodePng(rasterise(scene));
    return std::string(png.begin(), png.end());
}

}  // namespace el::figures
