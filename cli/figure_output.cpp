#include "cli/figure_output.hpp"

#include <filesystem>
#include <fstream>

#include "figures/figure_file.hpp"
#include "figures/fit_figure.hpp"
#include "figures/map_figure.hpp"

namespace el::batch {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> writeWhole(const fs::path& file, const std::string& bytes) {
    fs::path partial = file;
    partial += ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(partial, ignored);
            return "The figure file \"" + file.string() + "\" cannot be written";
        }
    }
    std::error_code error;
    fs::rename(partial, file, error);
    if (error) {
        fs::remove(partial, error);
        return "The figure file \"" + file.string() + "\" cannot be written";
    }
    return std::nullopt;
}

std::optional<std::string> writeScene(const std::string& file, const figures::Scene& scene) {
    const auto format = figures::figureFormatOf(file);
    if (!format) return "The figure file \"" + file + "\" is neither .svg nor .png";
    return writeWhole(file, figures::figureBytes(scene, *format));
}

}  // namespace

std::optional<std::string> writeFigures(const FigureRequest& request, const VectorData& data,
                                        const engine::RunResult& run) {
    if (!request.mapFile.empty()) {
        figures::MapChoice choice;
        choice.species = request.mapSpecies;
        if (auto failure = writeScene(request.mapFile, figures::buildMap(data, run, choice))) return failure;
    }
    if (!request.fitPlotFile.empty())
        if (auto failure = writeScene(request.fitPlotFile, figures::buildFitPlot(run))) return failure;
    return std::nullopt;
}

}  // namespace el::batch
