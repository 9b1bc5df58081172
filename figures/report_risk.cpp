#include "figures/report_risk.hpp"

#include <algorithm>
#include <cmath>

#include "base/numtext.hpp"
#include "engine/risk/risk_sentences.hpp"
#include "engine/risk/risk_text.hpp"
#include "figures/axis_ticks.hpp"
#include "figures/map_figure.hpp"
#include "figures/risk_figure.hpp"
#include "figures/scene_extent.hpp"

namespace el::figures {
namespace {

constexpr std::size_t kRegionsListed = 10;
constexpr double kMapWidth = 620, kMapHeight = 440;

// The probability map: every region the target had not reached by its risk.
ReportFigure riskMap(const ReportContent& c, const engine::RiskResult& risk) {
    Scene map = buildMap(*c.data, *c.run, {MapColouring::Risk, -1, &risk}, kMapWidth, kMapHeight, c.mapOptions);
    trimHeight(map);
    return {std::move(map), "Regions coloured by the risk of a first record of " + risk.target + " within " +
                                plainnum(risk.horizon) + " years of " + plainnum(risk.asOf) +
                                "; grey and hatched: " + "reached by then."};
}

// The regions with the highest risk, highest first (ties in file order).
ReportTable regionsMostAtRisk(const engine::RiskResult& risk) {
    std::vector<const engine::RiskRegion*> regions;
    for (const engine::RiskRegion& region : risk.regions) regions.push_back(&region);
    std::stable_sort(regions.begin(), regions.end(), [](const auto* a, const auto* b) { return a->risk > b->risk; });
    ReportTable table;
    table.header = {"Region", "Risk", "Early-late score", "Distance to the nearest reached (km or map units)",
                    "Other species"};
    for (std::size_t i = 0; i < regions.size() && i < kRegionsListed; ++i) {
        const engine::RiskRegion& r = *regions[i];
        table.rows.push_back({r.name, riskPercent(r.risk), r.score ? shortNumber(*r.score) : "",
                              r.distance ? shortNumber(std::round(*r.distance)) : "", std::to_string(r.otherSpecies)});
    }
    return table;
}

ReportTable reliabilityTable(const engine::CheckFigures& figures) {
    ReportTable table;
    table.header = {"Regions", "Risk from", "Risk to", "Mean risk", "Reached"};
    for (const engine::ReliabilityBin& bin : figures.reliability)
        table.rows.push_back({std::to_string(bin.regions), riskPercent(bin.lowest), riskPercent(bin.highest),
                              riskPercent(bin.meanRisk), riskPercent(bin.observed)});
    return table;
}

}  // namespace

void addRiskSection(ReportDocument& doc, const ReportContent& c) {
    if (!c.risk) return;
    const engine::RiskResult& risk = *c.risk;
    doc.blocks.push_back(ReportHeading{"How likely: the risk of a first record within " + plainnum(risk.horizon) +
                                       " years of " + plainnum(risk.asOf)});
    for (const std::string& sentence : risk.sentences) doc.blocks.push_back(ReportParagraph{sentence});
    for (const std::string& note : risk.notes) doc.blocks.push_back(ReportParagraph{engine::riskNoteSentence(note)});
    if (!risk.regions.empty() && c.data != nullptr && c.run != nullptr) doc.blocks.push_back(riskMap(c, risk));
    if (!risk.regions.empty()) {
        doc.blocks.push_back(ReportParagraph{"The regions of " + risk.target + " most at risk, of the " +
                                             std::to_string(risk.regions.size()) + " it had not reached by " +
                                             plainnum(risk.asOf) + ":"});
        doc.blocks.push_back(regionsMostAtRisk(risk));
    }
    const engine::RiskCheck& check = risk.check;
    if (!check.figures || check.figures->reliability.empty()) return;
    const std::string period = engine::periodText(check.cutoff, check.upTo);
    doc.blocks.push_back(
        ReportFigure{buildReliabilityPlot(*check.figures, period),
                     "The check: the model fitted one horizon earlier gave the regions not reached by " +
                         plainnum(check.cutoff) + " a risk for " + period +
                         "; in five groups by risk, the mean risk against the share reached. "
                         "On the dashed line the risks were right on average."});
    doc.blocks.push_back(reliabilityTable(*check.figures));
}

}  // namespace el::figures
