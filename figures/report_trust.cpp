#include "figures/report_trust.hpp"

#include <algorithm>
#include <cmath>

#include "figures/axis_ticks.hpp"
#include "figures/hindcast_figure.hpp"
#include "figures/report_text.hpp"
#include "figures/scene_extent.hpp"

namespace el::figures {
namespace {

constexpr const char* kNoSkill = "The dates do not follow the region scores: this forecast has no skill for this species.";
constexpr double kFigureWidth = 620, kFigureHeight = 440;

bool notReachedText(const std::string& text) { return text == "NotYetArrived" || text == "未分布"; }

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

std::string skillText(const engine::SpeciesFit& fit) {
    if (!datesFollowScores(fit)) return kNoSkill;
    return "The recorded dates of the training regions follow the region scores (r = " + fixedText(fit.rt, 3) +
           "). The order of the regions is the forecast's strength; its dates are far less certain than the order.";
}

std::string overdueText(const OverdueRegions& o) {
    const std::string latest = shortNumber(o.latestDate);
    if (o.notReached == 0) return "Every region used has been reached or has no known status: none is overdue.";
    std::string text = "Overdue: " + std::to_string(o.overdue) + " of " + std::to_string(o.notReached) +
                       " regions not yet reached (" + percentText(static_cast<double>(o.overdue) / o.notReached) +
                       ") have a predicted date at or before " + latest + ", the latest recorded date.";
    if (o.overdue > 0)
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

}  // namespace

bool datesFollowScores(const engine::SpeciesFit& fit) {
    return fit.predictable && fit.rt != engine::kNotComputable && std::isfinite(fit.rt) && fit.rt > 0;
}

std::optional<OverdueRegions> overdueRegions(const engine::RunResult& run) {
    const engine::SpeciesOutcome* target = targetOf(run);
    if (target == nullptr || !target->fit.predictable) return std::nullopt;
    std::optional<double> latest;
    for (const auto& date : run.actualDate)
        if (date) latest = std::max(latest.value_or(*date), *date);
    if (!latest) return std::nullopt;
    OverdueRegions o;
    o.latestDate = *latest;
    for (std::size_t p = 0; p < run.regno.size() && p < target->predicted.size(); ++p) {
        const auto k = static_cast<std::size_t>(run.regno[p]);
        if (k >= run.actualText.size() || !notReachedText(run.actualText[k])) continue;
        ++o.notReached;
        if (target->predicted[p] <= *latest) ++o.overdue;
    }
    return o;
}

void addTrustSection(ReportDocument& doc, const ReportContent& c) {
    doc.blocks.push_back(ReportHeading{"How far to trust this forecast"});
    const engine::RunResult& run = *c.run;
    const engine::SpeciesOutcome* target = targetOf(run);
    if (target == nullptr) {
        doc.blocks.push_back(ReportParagraph{"The run had no target species: without recorded dates to fit, there is "
                                             "no forecast whose skill could be measured."});
        return;
    }
    doc.blocks.push_back(fitFacts(target->fit));
    doc.blocks.push_back(ReportParagraph{skillText(target->fit)});
    if (const auto overdue = overdueRegions(run)) doc.blocks.push_back(ReportParagraph{overdueText(*overdue)});
    doc.blocks.push_back(ReportParagraph{trialText(c)});
    if (!c.hindcast.empty()) addHindcastFigures(doc, c);
    else
        doc.blocks.push_back(ReportParagraph{"No hindcast was made with this run: a hindcast (earlier cut-off years) "
                                             "tells how well the forecast would have named the regions reached since."});
}

void addHindcastSection(ReportDocument& doc, const ReportContent& c) {
    if (c.hindcast.empty() || c.run == nullptr) return;
    doc.blocks.push_back(ReportHeading{"Hindcast"});
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
