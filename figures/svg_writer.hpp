#pragma once
// The scene as a standalone SVG 1.1 document (UTF-8), content under the overlay.

#include <string>

#include "figures/scene.hpp"

namespace el::figures {

std::string toSvg(const Scene& scene);

// Text with &, <, >, " and ' escaped for XML.
std::string xmlEscaped(const std::string& text);

}  // namespace el::figures
