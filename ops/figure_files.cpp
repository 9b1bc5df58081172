#include "ops/figure_files.hpp"

#include "figures/figure_file.hpp"
#include "figures/fit_figure.hpp"
#include "figures/map_figure.hpp"
#include "figures/report_content.hpp"
#include "figures/report_file.hpp"
#include "figures/weight_grid.hpp"

namespace el::ops {
namespace {

std::optional<std::string> writeWeightPlot(const std::string& file, const CompletedRun& run) {
    return figures::writeFigure(
        figures::buildWeightGridPlot(figures::weightGridOf(run.result), figures::GridMeasure::Whole), file);
}

figures::MapOptions mapOptionsOf(const FigureRequest& request) {
    figures::MapOptions options;
    options.yDown = request.mapYDown;
    options.labels = request.mapLabels;
    options.crs = request.mapCrs;
    if (const auto& e = request.mapExtent) {
        options.extent.emplace();
        options.extent->add((*e)[0], (*e)[1]);
        options.extent->add((*e)[2], (*e)[3]);
    }
    return options;
}

}  // namespace

std::optional<std::string> mapCrsWarning(const FigureRequest& request, const vec::VectorData& data) {
    if (!request.mapCrs || (request.mapFile.empty() && request.reportFile.empty())) return std::nullopt;
    if (figures::showsLonLat(data, mapOptionsOf(request))) return std::nullopt;
    const std::string why =
        request.mapYDown ? "its y grows downwards (--map-y-down)" : "they are not longitudes and latitudes";
    return "warning: the map keeps the data's own coordinates, as " + why + ": --map-crs " + *request.mapCrs +
           " is not applied";
}

std::optional<std::string> writeFigures(const FigureRequest& request, const CompletedRun& run) {
    figures::MapChoice choice;
    choice.species = request.mapSpecies;
    choice.colouring =
        request.mapPredicted ? figures::MapColouring::PredictedDate : figures::MapColouring::KnownAndForecast;
    const figures::MapOptions mapOptions = mapOptionsOf(request);
    if (!request.mapFile.empty() && !request.mapRisk)
        if (auto failure = figures::writeFigure(figures::buildMap(run.data, run.result, choice, 900, 640, mapOptions),
                                                request.mapFile))
            return failure;
    if (!request.fitPlotFile.empty())
        if (auto failure = figures::writeFigure(figures::buildFitPlot(run.result), request.fitPlotFile)) return failure;
    if (!request.weightPlotFile.empty())
        if (auto failure = writeWeightPlot(request.weightPlotFile, run)) return failure;
    return std::nullopt;
}

std::optional<std::string> writeRiskMap(const FigureRequest& request, const CompletedRun& run,
                                        const std::optional<engine::RiskResult>& risk) {
    if (request.mapFile.empty() || !request.mapRisk) return std::nullopt;
    if (!risk) return "the map " + request.mapFile + " was not drawn: there is no risk to show";
    const figures::MapChoice choice{figures::MapColouring::Risk, -1, &*risk};
    return figures::writeFigure(figures::buildMap(run.data, run.result, choice, 900, 640, mapOptionsOf(request)),
                                request.mapFile);
}

std::optional<std::string> writeRunReport(const FigureRequest& request, const CompletedRun& run,
                                          const std::vector<engine::HindcastYear>& hindcast,
                                          const std::optional<engine::AllSpeciesHindcast>& allSpecies,
                                          const std::optional<engine::RiskResult>& risk) {
    if (request.reportFile.empty()) return std::nullopt;
    figures::MapChoice choice;
    choice.species = request.mapSpecies;
    figures::ReportContent content = figures::reportContentOf(run.data, run.result, run.settings, run.sourceFile,
                                                              run.calculationDate, choice, mapOptionsOf(request));
    content.hindcast = hindcast;
    content.allSpecies = allSpecies;
    content.risk = risk;
    return figures::writeReport(content, request.reportFile);
}

}  // namespace el::ops
