#include "figures/report_trust.hpp"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "engine/run/skill.hpp"
#include "figures/axis_ticks.hpp"
#include "figures/hindcast_figure.hpp"
#include "figures/report_text.hpp"
#include "figures/scene_extent.hpp"
#include "figures/species_auc_figure.hpp"

namespace el::figures {
namespace {

constexpr double kFigureWidth = 620, kFigureHeight = 440;

const engine::SpeciesOutcome* targetOf(const engine::RunResult& run) {
    if (run.target < 0 || static_cast<std::size_t>(run.target) >= run.species.size()) return nullptr;
    return &run.species[static_cast<std::size_t>(run.target)];
}

ReportTable fitFacts(const engine::SpeciesFit& fit) {
    ReportTable facts;
    facts.rows.push_back({"Correlation coefficient, training regions", coefficientText(fit.rt, fit.nt)});
    facts.rows.push_back({"Correlation coefficient, validation regions", coefficientText(fit.rv, fit.nv)});
    return facts;
}

// The sentence that opens with a capital letter and ends with a full stop.
std::string sentence(std::string_view text) {
    std::string out(text);
    if (!out.empty() && out[0] >= 'a' && out[0] <= 'z') out[0] = static_cast<char>(out[0] - 'a' + 'A');
    return out + ".";
}

std::string skillText(const engine::SpeciesSkill& skill, const engine::SpeciesFit& fit) {
    if (skill.noSkill) return sentence(engine::kNoSkillSentence);
    return "The recorded dates of the training regions follow the region scores (r = " + fixedText(fit.rt, 3) +
           "). The order of the regions is the forecast's strength; its dates are far less certain than the order.";
}

// Nothing when no region can be called overdue: no fitted line, or no date to compare with.
std::optional<std::string> overdueText(const engine::SpeciesSkill& skill) {
    if (!skill.overdue || !skill.latestDate) return std::nullopt;
    if (skill.notYetArrived == 0) return "Every region used has been reached or has no known status: none is overdue.";
    const int overdue = *skill.overdue;
    std::string text = "Overdue: " + std::to_string(overdue) + " of " + std::to_string(skill.notYetArrived) +
                       " regions not yet reached (" + percentText(skill.overdueShare.value_or(0)) +
                       ") have a predicted date at or before " + shortNumber(*skill.latestDate) +
                       ", the latest recorded date.";
    if (overdue > 0)
        text += " The forecast says they should have been reached already: a measure of how far off its dates can be.";
    return text;
}

std::string trialText(const ReportContent& c) {
    if (!c.trialSpread)
        return "No fluctuation trials ran, so the stability of the region score under resampling was not measured.";
    return "The fluctuation trials measure the stability of the region score under resampling (on average " +
           fixedText(*c.trialSpread, 2) + " in date units), not the error of a predicted date.";
}

std::string cell(const std::optional<double>& value) { return figureText(value); }

ReportTable hindcastTable(const std::vector<engine::HindcastYear>& years) {
    ReportTable table;
    table.header = {"Cut-off year", "Reached later", "Not reached", "AUC", "Spearman", "MAE (years)", "Distance AUC",
                    "Distance Spearman"};
    for (const engine::HindcastYear& y : years) {
        const engine::HindcastFigures& f = y.figures;
        if (!y.ran) {
            table.rows.push_back({shortNumber(y.year), "stopped: " + y.error, "", "", "", "", "", ""});
            continue;
        }
        table.rows.push_back({shortNumber(y.year), std::to_string(f.reachedLater), std::to_string(f.notReached),
                              cell(f.auc), cell(f.spearman), f.mae ? meanErrorText(*f.mae) : "n/a",
                              cell(f.distanceAuc), cell(f.distanceSpearman)});
    }
    return table;
}

void addHindcastFigures(ReportDocument& doc, const ReportContent& c) {
    doc.blocks.push_back(ReportParagraph{
        "Hindcast: the forecast made from the data as they stood at the end of each cut-off year, scored on the "
        "arrivals recorded since. AUC is the chance that a region reached later was forecast before a region still "
        "not reached (0.5 is a coin); the distance figures are those of the nearest reached region, the rival to "
        "beat. Spearman is the order of the later arrivals among themselves, MAE the error of their dates."});
    doc.blocks.push_back(hindcastTable(c.hindcast));
}

std::string spreadText(const engine::FigureSpread& f) {
    if (!f.mean) return "n/a";
    return figureText(f.mean) + (f.sd ? " ± " + figureText(f.sd) : std::string());
}

ReportTable allSpeciesSummary(const engine::AllSpeciesHindcast& all) {
    ReportTable table;
    table.header = {"Cut-off year", "Species", "AUC", "Distance AUC", "AUC above distance", "Spearman", "MAE (years)"};
    for (const engine::HindcastYearSpread& y : all.years)
        table.rows.push_back({shortNumber(y.year), std::to_string(y.species), spreadText(y.auc),
                              spreadText(y.distanceAuc), y.aucBeatsDistance ? percentText(*y.aucBeatsDistance) : "n/a",
                              spreadText(y.spearman), y.mae.mean ? meanErrorText(*y.mae.mean) : "n/a"});
    return table;
}

void addAllSpeciesFigures(ReportDocument& doc, const engine::AllSpeciesHindcast& all) {
    doc.blocks.push_back(ReportParagraph{
        "Hindcast of every eligible species as the target in turn: per cut-off year the mean (± standard deviation) "
        "of each figure over the species, and the share of species whose AUC is above their distance AUC. One "
        "species' figures vary much from species to species; these show what the method does on these data."});
    doc.blocks.push_back(allSpeciesSummary(all));
    Scene plot = buildSpeciesAucPlot(all, kFigureWidth, kFigureHeight);
    trimHeight(plot);
    doc.blocks.push_back(ReportFigure{std::move(plot), "Each species' AUC against its distance AUC; above the dashed "
                                                       "diagonal the forecast beat the distance to the nearest reached "
                                                       "region."});
}

ReportTable allSpeciesRows(const engine::AllSpeciesHindcast& all) {
    ReportTable table;
    table.header = {"Year", "Species", "Reached later", "Not reached", "AUC", "Spearman", "MAE", "Distance AUC",
                    "Distance Spearman"};
    for (const engine::SpeciesHindcast& r : all.rows) {
        const engine::HindcastFigures& f = r.figures;
        if (!r.ran) {
            table.rows.push_back({shortNumber(r.year), r.species, "stopped: " + r.error, "", "", "", "", "", ""});
            continue;
        }
        table.rows.push_back({shortNumber(r.year), r.species, std::to_string(f.reachedLater),
                              std::to_string(f.notReached), cell(f.auc), cell(f.spearman),
                              f.mae ? meanErrorText(*f.mae) : "n/a", cell(f.distanceAuc), cell(f.distanceSpearman)});
    }
    return table;
}

// Said only when the region scores are the last iterate of a power iteration that did not settle.
std::string unsettledScoreText(const engine::RunResult& run) {
    return "The region scores did not settle: the power iteration stopped after " +
           std::to_string(run.scoreIteration.iterations) +
           " iterations without converging, so the scores, and the dates predicted from them, come from its last step "
           "and need not be the principal eigenvector; treat this forecast with caution.";
}

}  // namespace

void addTrustSection(ReportDocument& doc, const ReportContent& c) {
    doc.blocks.push_back(ReportHeading{"How far to trust this forecast"});
    const engine::RunResult& run = *c.run;
    if (!run.scoreIteration.converged) doc.blocks.push_back(ReportParagraph{unsettledScoreText(run)});
    const engine::SpeciesOutcome* target = targetOf(run);
    if (target == nullptr) {
        doc.blocks.push_back(ReportParagraph{"The run had no target species: without recorded dates to fit, there is "
                                             "no forecast whose skill could be measured."});
        if (c.allSpecies) addAllSpeciesFigures(doc, *c.allSpecies);
        return;
    }
    doc.blocks.push_back(fitFacts(target->fit));
    if (run.examinedWeights) {
        doc.blocks.push_back(ReportParagraph{"An examine-weight run compares the fits over the power grid: its last "
                                             "pass, shown here, is no forecast whose skill could be judged. Run the "
                                             "forecast with the powers chosen for that."});
        return;
    }
    const engine::SpeciesSkill skill = engine::speciesSkill(*c.data, run, run.target);
    doc.blocks.push_back(ReportParagraph{skillText(skill, target->fit)});
    if (const auto overdue = overdueText(skill)) doc.blocks.push_back(ReportParagraph{*overdue});
    doc.blocks.push_back(ReportParagraph{trialText(c)});
    if (c.allSpecies) addAllSpeciesFigures(doc, *c.allSpecies);
    if (!c.hindcast.empty()) addHindcastFigures(doc, c);
    else if (!c.allSpecies)
        doc.blocks.push_back(ReportParagraph{"No hindcast was made with this run: a hindcast (earlier cut-off years) "
                                             "tells how well the forecast would have named the regions reached since."});
}

void addHindcastSection(ReportDocument& doc, const ReportContent& c) {
    if ((c.hindcast.empty() && !c.allSpecies) || c.run == nullptr) return;
    doc.blocks.push_back(ReportHeading{"Hindcast"});
    if (c.allSpecies) doc.blocks.push_back(allSpeciesRows(*c.allSpecies));
    for (const engine::HindcastYear& year : c.hindcast) {
        Scene plot = buildHindcastPlot(year, c.run->regionNames, kFigureWidth, kFigureHeight);
        trimHeight(plot);
        doc.blocks.push_back(ReportFigure{std::move(plot), "Recorded against predicted date of the regions reached after " +
                                                               shortNumber(year.year) +
                                                               " (the dashed diagonal is a perfect forecast); crosses "
                                                               "above: the regions not reached."});
    }
}

std::optional<std::string> hindcastErrorText(const ReportContent& c) {
    for (auto y = c.hindcast.rbegin(); y != c.hindcast.rend(); ++y)
        if (y->ran && y->figures.mae)
            return "The hindcast from " + shortNumber(y->year) + " missed the recorded dates of the regions reached "
                   "after it by " + meanErrorText(*y->figures.mae) + " years on average (MAE): read these dates with "
                   "that error in mind.";
    return std::nullopt;
}

}  // namespace el::figures
