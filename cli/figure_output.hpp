#pragma once
// The figures the batch runner draws after a completed run: the map and the fit plot,
// each as SVG or PNG by its file's extension.

#include <optional>
#include <string>

#include "engine/engine.hpp"
#include "vector/vector_data.hpp"

namespace el::batch {

struct FigureRequest {
    std::string mapFile;      // "" for no map
    int mapSpecies = -1;      // species position; -1: the target, else the first species
    std::string fitPlotFile;  // "" for no fit plot
};

// Writes each requested figure whole (through a temporary file renamed into place).
// Returns the text of the first failure, nothing when every file was written.
std::optional<std::string> writeFigures(const FigureRequest& request, const VectorData& data,
                                        const engine::RunResult& run);

}  // namespace el::batch
