// What the map shows of a run: the value of every region and how it was come by.

#include <algorithm>

#include "engine/kernels/status_matrix.hpp"
#include "figures/map_figure.hpp"

namespace el::figures {
namespace {

// The target has arrived in region k by the data: a date or "Arrived" (or its synonym).
bool recorded(const engine::RunResult& run, std::size_t k) {
    if (k < run.actualDate.size() && run.actualDate[k]) return true;
    return k < run.actualText.size() && engine::keywordKind(run.actualText[k]) == engine::StatusKind::Arrived;
}

void putPredicted(const engine::RunResult& run, int species, std::vector<std::optional<double>>& values) {
    if (species < 0 || static_cast<std::size_t>(species) >= run.species.size()) return;
    const engine::SpeciesOutcome& row = run.species[static_cast<std::size_t>(species)];
    if (!row.fit.predictable) return;
    for (std::size_t p = 0; p < run.regno.size() && p < row.predicted.size(); ++p)
        if (run.regno[p] >= 0 && static_cast<std::size_t>(run.regno[p]) < values.size())
            values[static_cast<std::size_t>(run.regno[p])] = row.predicted[p];
}

// The risk of each unreached region, in percent.
void putRisk(const engine::RiskResult* risk, std::vector<std::optional<double>>& values) {
    if (risk == nullptr) return;
    for (const engine::RiskRegion& region : risk->regions)
        if (region.region >= 0 && static_cast<std::size_t>(region.region) < values.size())
            values[static_cast<std::size_t>(region.region)] = 100 * region.risk;
}

}  // namespace

int chosenSpecies(const engine::RunResult& run, const MapChoice& choice) {
    const int count = static_cast<int>(run.speciesNames.size());
    if (choice.species >= 0 && choice.species < count) return choice.species;
    if (run.target >= 0 && run.target < count) return run.target;
    return count > 0 ? 0 : -1;
}

bool showsKnownAndForecast(const engine::RunResult& run, const MapChoice& choice) {
    return choice.colouring == MapColouring::KnownAndForecast && run.target >= 0 &&
           chosenSpecies(run, choice) == run.target;
}

std::vector<std::optional<double>> mapValues(const engine::RunResult& run, const MapChoice& choice, int regions) {
    std::vector<std::optional<double>> values(static_cast<std::size_t>(std::max(regions, 0)));
    switch (choice.colouring) {
    case MapColouring::PredictedDate: putPredicted(run, chosenSpecies(run, choice), values); break;
    case MapColouring::RegionScore:
        for (std::size_t p = 0; p < run.regno.size() && p < run.score.size(); ++p)
            if (run.regno[p] >= 0 && run.regno[p] < regions) values[static_cast<std::size_t>(run.regno[p])] = run.score[p];
        break;
    case MapColouring::ActualDate:
        for (std::size_t k = 0; k < values.size() && k < run.actualDate.size(); ++k) values[k] = run.actualDate[k];
        break;
    case MapColouring::KnownAndForecast:
        putPredicted(run, chosenSpecies(run, choice), values);
        if (!showsKnownAndForecast(run, choice)) break;
        for (std::size_t k = 0; k < values.size(); ++k)
            if (recorded(run, k)) values[k] = k < run.actualDate.size() ? run.actualDate[k] : std::nullopt;
        break;
    case MapColouring::Risk:
        putRisk(choice.risk, values);
        break;
    }
    return values;
}

std::vector<ValueStyle> valueStyles(const engine::RunResult& run, const MapChoice& choice, int regions) {
    std::vector<ValueStyle> styles(static_cast<std::size_t>(std::max(regions, 0)), ValueStyle::Plain);
    if (choice.colouring == MapColouring::Risk && choice.risk != nullptr) {
        for (int k : choice.risk->reached)
            if (k >= 0 && k < regions) styles[static_cast<std::size_t>(k)] = ValueStyle::Reached;
        return styles;
    }
    if (!showsKnownAndForecast(run, choice)) return styles;
    for (std::size_t k = 0; k < styles.size(); ++k)
        styles[k] = recorded(run, k) ? ValueStyle::Recorded : ValueStyle::Forecast;
    return styles;
}

}  // namespace el::figures
