#include "cli/figure_output.hpp"

#include <exception>

#include "figures/figure_file.hpp"
#include "figures/fit_figure.hpp"
#include "figures/map_figure.hpp"
#include "figures/report_content.hpp"
#include "figures/report_file.hpp"
#include "figures/weight_grid.hpp"
#include "figures/whole_file.hpp"

namespace el::batch {
namespace {

std::optional<std::string> writeScene(const std::string& file, const figures::Scene& scene) {
    const auto format = figures::figureFormatOf(file);
    if (!format) return "The figure file \"" + file + "\" is neither .png, .svg nor .pdf";
    std::string bytes;
    try {
        bytes = figures::figureBytes(scene, *format);
    } catch (const std::exception& error) {
        return "The figure file \"" + file + "\" cannot be made: " + error.what();
    }
    if (!figures::writeWholeFile(file, bytes)) return "The figure file \"" + file + "\" cannot be written";
    return std::nullopt;
}

std::optional<std::string> writeWeightPlot(const std::string& file, const CompletedRun& run) {
    return writeScene(file, figures::buildWeightGridPlot(figures::weightGridOf(run.result), figures::GridMeasure::Whole));
}

}  // namespace

std::optional<std::string> writeFigures(const FigureRequest& request, const CompletedRun& run) {
    figures::MapChoice choice;
    choice.species = request.mapSpecies;
    const figures::MapOptions mapOptions{request.mapYDown};
    if (!request.mapFile.empty())
        if (auto failure = writeScene(request.mapFile, figures::buildMap(run.data, run.result, choice, 900, 640, mapOptions)))
            return failure;
    if (!request.fitPlotFile.empty())
        if (auto failure = writeScene(request.fitPlotFile, figures::buildFitPlot(run.result))) return failure;
    if (!request.weightPlotFile.empty())
        if (auto failure = writeWeightPlot(request.weightPlotFile, run)) return failure;
    if (!request.reportFile.empty())
        return figures::writeReport(figures::reportContentOf(run.data, run.result, run.settings, run.sourceFile,
                                                            run.calculationDate, choice, mapOptions),
                                    request.reportFile);
    return std::nullopt;
}

}  // namespace el::batch
