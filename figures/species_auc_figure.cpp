#include "figures/species_auc_figure.hpp"

#include <cmath>
#include <iterator>
#include <string>

#include "figures/axis_ticks.hpp"
#include "figures/colour.hpp"
#include "figures/hindcast_figure.hpp"
#include "figures/plot_frame.hpp"

namespace el::figures {
namespace {

constexpr double kLegendWidth = 240;
constexpr Stroke kEqualLine{kGrey, 1.5, Dash::Dashed};
// One colour per cut-off year, in the order given (colour-blind safe).
constexpr Rgb kYearColours[] = {{0, 114, 178}, {213, 94, 0}, {0, 158, 115}, {204, 121, 167}, {230, 159, 0}, {86, 180, 233}};

Rgb yearColour(std::size_t index) { return kYearColours[index % std::size(kYearColours)]; }

Marker point(Point at, Rgb colour, std::string tip) { return scatterPoint(at, 9, colour, std::move(tip)); }

double legend(Layer& layer, const engine::AllSpeciesHindcast& hindcast, double left, double width, double top) {
    LegendColumn column(layer, left, width, top);
    for (std::size_t y = 0; y < hindcast.years.size(); ++y) {
        const engine::HindcastYearSpread& spread = hindcast.years[y];
        std::string text = "from " + shortNumber(spread.year) + ": " + std::to_string(spread.species) + " species";
        if (spread.aucBeatsDistance)
            text += ", " + shortNumber(std::round(*spread.aucBeatsDistance * 100)) + " % above";
        column.add(text, point({}, yearColour(y), ""));
    }
    column.add("forecast = distance", kEqualLine);
    return column.bottom();
}

}  // namespace

Scene buildSpeciesAucPlot(const engine::AllSpeciesHindcast& hindcast, double width, double height) {
    Scene scene;
    scene.width = width;
    scene.height = height;
    const PlotFrame frame = placeShareSquare(
        scene, "Hindcast of every species: AUC of the forecast against AUC of distance", kLegendWidth,
        [&](Layer& layer, double left, double legendWidth, double legendTop) {
            return legend(layer, hindcast, left, legendWidth, legendTop);
        },
        "AUC of the distance to the nearest reached region", "AUC of the forecast", kEqualLine);
    for (const engine::SpeciesHindcast& row : hindcast.rows) {
        if (!row.figures.auc || !row.figures.distanceAuc) continue;
        std::size_t y = 0;
        while (y < hindcast.years.size() && hindcast.years[y].year != row.year) ++y;
        const std::string tip = row.species + ", from " + shortNumber(row.year) + "\nAUC " + figureText(row.figures.auc) +
                                "\ndistance AUC " + figureText(row.figures.distanceAuc);
        scene.content.markers.push_back(point(frame.at(*row.figures.distanceAuc, *row.figures.auc), yearColour(y), tip));
    }
    return scene;
}

}  // namespace el::figures
