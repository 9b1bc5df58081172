#include "figures/report_document.hpp"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>

#include "base/numtext.hpp"
#include "engine/report/report_results.hpp"
#include "figures/fit_figure.hpp"
#include "figures/map_figure.hpp"
#include "figures/report_risk.hpp"
#include "figures/report_text.hpp"
#include "figures/report_trust.hpp"
#include "figures/scene_extent.hpp"

namespace el::figures {
namespace {

constexpr std::size_t kEnds = 5;  // regions listed at each end of the predicted dates
// Figures are built about as wide as a page's text, so their text keeps its size in print.
constexpr double kFigureWidth = 620, kFigureHeight = 440;
constexpr const char* kStabilityColumn = "Score stability (SD, date units)";

struct DatedRegion {
    int region;
    double date;
};

std::string speciesName(const engine::RunResult& run, int s) {
    return s >= 0 && static_cast<std::size_t>(s) < run.speciesNames.size() ? run.speciesNames[static_cast<std::size_t>(s)]
                                                                          : std::string();
}

ReportTable headerFacts(const ReportContent& c) {
    ReportTable facts;
    facts.rows.push_back({"File", c.sourceFile});
    facts.rows.push_back({"Date of calculation", isoDate(c.calculationDate)});
    std::string species;
    if (c.run != nullptr)
        for (const std::string& name : c.run->speciesNames) species += (species.empty() ? "" : ", ") + name;
    facts.rows.push_back({"Species analysed", species});
    const bool examined = c.run != nullptr && c.run->examinedWeights;
    facts.rows.push_back({"Run", examined ? "examine weight (200 x 200 power grid)" : "report (one power pass)"});
    return facts;
}

// The settings the run used, at the end of the document.
void addSettingsAppendix(ReportDocument& doc, const ReportContent& c) {
    doc.blocks.push_back(ReportHeading{"Appendix: settings of the run"});
    ReportTable facts;
    for (const ReportSetting& s : c.settings) facts.rows.push_back({s.caption, s.value});
    doc.blocks.push_back(std::move(facts));
}

// The prediction line of the target, or without one of the species the map shows, and
// the coefficients the trust section does not already give.
void addCoefficients(ReportDocument& doc, const engine::RunResult& run, int species) {
    const bool isTarget = species == run.target;
    const std::string name = speciesName(run, species);
    doc.blocks.push_back(ReportHeading{isTarget ? "Target species: " + name : "Species: " + name + " (the run had no target species)"});
    if (species < 0 || static_cast<std::size_t>(species) >= run.species.size()) return;
    const engine::SpeciesFit& fit = run.species[static_cast<std::size_t>(species)].fit;
    ReportTable facts;
    if (isTarget) facts.rows.push_back({"Correlation coefficient, training & validation", coefficientText(fit.rw, fit.nt + fit.nv)});
    else facts.rows.push_back({"Correlation coefficient, training regions", coefficientText(fit.rt, fit.nt)});
    facts.rows.push_back({"Prediction line", engine::predictionLineText(fit)});  // as the log writes it
    doc.blocks.push_back(std::move(facts));
    if (!fit.predictable)
        doc.blocks.push_back(ReportParagraph{"Infestation date is not predictable: fewer than two training regions "
                                             "with distinct dates and scores."});
}

// The used regions with their predicted dates, earliest first.
std::vector<DatedRegion> predictedDates(const engine::RunResult& run, const engine::SpeciesOutcome& species) {
    std::vector<DatedRegion> dated;
    for (std::size_t p = 0; p < run.regno.size() && p < species.predicted.size(); ++p)
        dated.push_back({run.regno[p], species.predicted[p]});
    std::stable_sort(dated.begin(), dated.end(), [](const DatedRegion& a, const DatedRegion& b) { return a.date < b.date; });
    return dated;
}

// The score stability belongs to the target's dates: it is shown only in the target's tables.
ReportTable regionTable(const ReportContent& c, const std::vector<DatedRegion>& regions, bool withSd) {
    const engine::RunResult& run = *c.run;
    ReportTable table;
    table.header = {"Region", "Predicted date", "Actual date"};
    if (withSd) table.header.push_back(kStabilityColumn);
    for (const DatedRegion& r : regions) {
        const auto k = static_cast<std::size_t>(r.region);
        std::vector<std::string> row{k < run.regionNames.size() ? run.regionNames[k] : std::to_string(r.region + 1),
                                     fixedText(r.date, 2), k < run.actualText.size() ? run.actualText[k] : ""};
        if (withSd) row.push_back(k < c.dateSd.size() && c.dateSd[k] ? fixedText(*c.dateSd[k], 2) : "-");
        table.rows.push_back(std::move(row));
    }
    return table;
}

void addEarliestAndLatest(ReportDocument& doc, const ReportContent& c, int species) {
    const engine::RunResult& run = *c.run;
    if (species < 0 || static_cast<std::size_t>(species) >= run.species.size()) return;
    const engine::SpeciesOutcome& outcome = run.species[static_cast<std::size_t>(species)];
    if (!outcome.fit.predictable) return;
    const std::vector<DatedRegion> dated = predictedDates(run, outcome);
    const std::size_t ends = std::min(kEnds, (dated.size() + 1) / 2);
    const bool isTarget = species == run.target;
    const bool withSd = !c.dateSd.empty() && isTarget;
    const std::string of = " of " + speciesName(run, species);
    doc.blocks.push_back(ReportHeading{"Earliest predicted dates" + of});
    if (isTarget)
        if (const auto error = hindcastErrorText(c)) doc.blocks.push_back(ReportParagraph{*error});
    doc.blocks.push_back(regionTable(c, {dated.begin(), dated.begin() + static_cast<std::ptrdiff_t>(ends)}, withSd));
    doc.blocks.push_back(ReportHeading{"Latest predicted dates" + of});
    doc.blocks.push_back(regionTable(c, {dated.rbegin(), dated.rbegin() + static_cast<std::ptrdiff_t>(ends)}, withSd));
}

void addScoreStability(ReportDocument& doc, const ReportContent& c) {
    doc.blocks.push_back(ReportHeading{"Stability of the region score under resampling"});
    if (!c.trialSpread) {
        doc.blocks.push_back(ReportParagraph{c.run->examinedWeights ? "An examine-weight run has no fluctuation trials."
                                                                    : "No fluctuation trials ran (Reliability was off)."});
        return;
    }
    std::string text = "Average SD of the region score over the fluctuation trials: " + fixedText(*c.trialSpread, 3) +
                       " (date units).";
    double low = std::numeric_limits<double>::infinity(), high = -low;
    for (const auto& sd : c.dateSd)
        if (sd) low = std::min(low, *sd), high = std::max(high, *sd);
    if (low <= high) text += " Per region from " + fixedText(low, 3) + " to " + fixedText(high, 3) + ".";
    text += " This is how much a region's score moves when the early-late relations are resampled, not the error "
            "of a predicted date.";
    doc.blocks.push_back(ReportParagraph{text});
}

void addWeights(ReportDocument& doc, const WeightGrid& grid) {
    doc.blocks.push_back(ReportHeading{"Weights over the power grid"});
    Scene plot = buildWeightGridPlot(grid, GridMeasure::Whole, kFigureWidth, kFigureWidth);
    trimHeight(plot);
    doc.blocks.push_back(ReportFigure{std::move(plot), "Correlation coefficient (training & validation) of every "
                                                       "pair of powers; the red cross marks the best."});
    const auto best = bestPair(grid, GridMeasure::Whole);
    doc.blocks.push_back(ReportParagraph{
        best ? "Best pair (training & validation): power for similarity p1 = " + plainnum(best->p1) +
                   ", power for number of samples p2 = " + plainnum(best->p2) + ", r = " + fixedText(best->value, 3) + "."
             : std::string("No pair of powers gave a computable coefficient.")});
}

void addMapAndFit(ReportDocument& doc, const ReportContent& c, int species) {
    const engine::RunResult& run = *c.run;
    doc.blocks.push_back(ReportHeading{"Map"});
    Scene map = buildMap(*c.data, run, c.map, kFigureWidth, kFigureHeight, c.mapOptions);
    trimHeight(map);
    const std::string caption =
        showsKnownAndForecast(run, c.map)
            ? "Regions coloured by the date of " + speciesName(run, species) +
                  ": recorded where it has arrived (solid fill), predicted where it has not (pale, hatched); a red "
                  "ring marks an overdue region, not yet arrived though predicted by the latest date in the data."
            : "Regions coloured by the predicted date of " + speciesName(run, species) + ".";
    doc.blocks.push_back(ReportFigure{std::move(map), caption});
    if (run.target < 0) return;
    Scene fit = buildFitPlot(run, kFigureWidth, kFigureHeight);
    trimHeight(fit);
    doc.blocks.push_back(ReportHeading{"Fit"});
    doc.blocks.push_back(ReportFigure{std::move(fit), "Actual against predicted date of the target species."});
}

}  // namespace

std::string reportTitle(const ReportContent& c) {
    std::string title = "earlylate report: " + std::filesystem::path(c.sourceFile).filename().string();
    if (c.run != nullptr && c.run->target >= 0) title += ", target " + speciesName(*c.run, c.run->target);
    return title;
}

ReportDocument buildReport(const ReportContent& c) {
    ReportDocument doc;
    doc.title = reportTitle(c);
    doc.blocks.push_back(ReportHeading{doc.title, 1});
    doc.blocks.push_back(headerFacts(c));
    if (c.run == nullptr || c.data == nullptr) {
        addSettingsAppendix(doc, c);
        return doc;
    }
    const engine::RunResult& run = *c.run;
    const int species = chosenSpecies(run, c.map);
    addRiskSection(doc, c);
    addTrustSection(doc, c);
    if (run.examinedWeights)
        doc.blocks.push_back(ReportParagraph{"The map and the fit plot show the last pass of the power grid."});
    addCoefficients(doc, run, run.target >= 0 ? run.target : species);
    addMapAndFit(doc, c, species);
    addEarliestAndLatest(doc, c, species);
    addScoreStability(doc, c);
    if (c.weightGrid) addWeights(doc, *c.weightGrid);
    addHindcastSection(doc, c);
    addSettingsAppendix(doc, c);
    return doc;
}

}  // namespace el::figures
