#pragma once
// A figure as the bytes of a file, drawn by Cairo: a PNG picture (deflate-compressed,
// anti-aliased), an SVG drawing or a one-page PDF, chosen by the file's extension; and the
// file written whole.

#include <filesystem>
#include <optional>
#include <string>

#include "figures/scene.hpp"

namespace el::figures {

enum class FigureFormat { Svg, Png, Pdf };

// ".svg", ".png" or ".pdf" in any letter case; nothing for any other extension.
std::optional<FigureFormat> figureFormatOf(const std::filesystem::path& file);

// The file at the scene's own size: one canvas pixel is one PNG pixel, one SVG pixel and
// one PDF point.
std::string figureBytes(const Scene& scene, FigureFormat format);

// The SVG text without the XML declaration, for a page that holds several drawings: every
// id starts with `idPrefix`, so the drawings' glyphs and clips stay apart.
std::string inlineSvg(const Scene& scene, const std::string& idPrefix);

// Writes the figure whole to `file` (format by its extension); the text of the failure, or
// nothing when it was written.
std::optional<std::string> writeFigure(const Scene& scene, const std::filesystem::path& file);

}  // namespace el::figures
