#include "engine/risk/risk_hindcast.hpp"

#include <algorithm>
#include <cmath>

#include "base/numtext.hpp"
#include "engine/model/run_error.hpp"
#include "engine/risk/risk_text.hpp"

namespace el::engine {
namespace {

int positionOf(const std::vector<std::string>& species, const std::string& name) {
    int position = -1;  // the last entry of that name, as a run chooses its target
    for (std::size_t s = 0; s < species.size(); ++s)
        if (species[s] == name) position = static_cast<int>(s);
    if (position < 0) throw RunError("\"" + name + "\" is not among the species analysed");
    return position;
}

std::vector<double> yearsOf(const RiskHindcastRequest& request) {
    std::vector<double> years;
    for (const auto& [year, species] : request.cases)
        if (std::find(years.begin(), years.end(), year) == years.end()) years.push_back(year);
    return years;
}

// The full data's table: what happened after each cut-off, and where the data end.
struct Outcomes {
    ReachTable reach{0, 0, {}};
    std::optional<double> end;  // the latest date of the species analysed
};

void setAll(RiskHindcastRow& row, const std::string& reason) {
    row.reason = reason;
    const RiskFigure none{std::nullopt, reason};
    row.auc = row.brier = row.baseBrier = row.brierSkill = row.calibrationSlope = row.calibrationIntercept = none;
}

// The row's figures from its regions' risks and outcomes, beside the base rate known at Y.
void scoreRow(RiskHindcastRow& row, const RiskFigure& baseRate, double horizon) {
    const std::string period = periodText(row.year, row.year + horizon);
    std::vector<ScoredRegion> scored;
    for (const HindcastRiskRegion& region : row.regions) scored.push_back({0, region.risk, *region.outcome, 0, {}});
    const CheckFigures f = checkFigures(scored, period);
    row.auc = f.auc;
    row.brier = f.brier;
    row.calibrationSlope = f.calibrationSlope;
    row.calibrationIntercept = f.calibrationIntercept;
    if (!baseRate.value) {
        row.baseBrier = row.brierSkill = {std::nullopt, "there is no base rate: " + baseRate.reason};
        return;
    }
    double squared = 0;
    for (const ScoredRegion& region : scored)
        squared += (*baseRate.value - region.outcome) * (*baseRate.value - region.outcome);
    const double baseBrier = squared / static_cast<double>(scored.size());
    row.baseBrier = {baseBrier, {}};
    row.brierSkill = baseBrier > 0 ? RiskFigure{1 - *f.brier.value / baseBrier, {}}
                                   : RiskFigure{std::nullopt, "the base rate was exactly right in " + period};
}

RiskHindcastRow rowOf(const KnownData& known, const RiskHindcastYear& year, const Outcomes& outcomes, int target,
                      const SpeciesScore& score) {
    RiskHindcastRow row;
    row.year = year.year;
    row.species = known.basis->species[static_cast<std::size_t>(target)];
    if (!year.model) {
        setAll(row, year.reason);
        return row;
    }
    const double horizon = known.basis->horizon, upTo = year.year + horizon;
    const SpeciesCase now =
        casesAt(known, inputsAt(known, year.year), year.year, {target}, {score}, false, nullptr).front();
    const bool outcomeKnown = outcomes.end && *outcomes.end >= upTo;
    for (const RegionCase& region : now.regions) {
        HindcastRiskRegion out{region.region, known.data.objects[static_cast<std::size_t>(region.region)].name,
                               riskOf(*year.model, region), std::nullopt};
        if (outcomeKnown) out.outcome = outcomes.reach.newlyReached(target, region.region, year.year, upTo) ? 1 : 0;
        row.regions.push_back(std::move(out));
    }
    if (row.regions.empty()) setAll(row, row.species + " had reached every region it could by " + plainnum(year.year));
    else if (!outcomeKnown)
        setAll(row, "the data end at " + (outcomes.end ? plainnum(*outcomes.end) : std::string("no date")) +
                        ", before " + plainnum(upTo) + ": what happened in " + periodText(year.year, upTo) +
                        " is not known yet");
    else scoreRow(row, year.baseRate, horizon);
    return row;
}

// How many early-late runs the hindcast makes: per year, one per species fitted on and one
// per species listed.
long long runsNeeded(const RiskHindcastRequest& request, const Outcomes& outcomes, const std::vector<double>& years) {
    long long total = static_cast<long long>(request.cases.size());
    const double h = request.basis.horizon;
    for (double year : years)
        for (int s = 0; s < outcomes.reach.species(); ++s)
            total += fittedOn(outcomes.reach, s, year - h, h, request.basis.rules) ? 1 : 0;
    return total;
}

void hindcastYear(const RiskHindcastRequest& request, const Outcomes& outcomes, double year, RiskHindcast& out,
                  std::vector<std::optional<RiskHindcastRow>>& rows, Feedback& feedback, RunCount& count) {
    const KnownData known = knownAt(request.basis, year);
    const double h = request.basis.horizon, cutoff = year - h;
    std::vector<std::size_t> caseIndex;
    std::vector<int> targets;
    for (std::size_t c = 0; c < request.cases.size(); ++c)
        if (request.cases[c].first == year) {
            caseIndex.push_back(c);
            targets.push_back(positionOf(request.basis.species, request.cases[c].second));
        }
    const std::vector<int> fitted =
        speciesWhere(known, [&](int s) { return fittedOn(known.reach, s, cutoff, h, request.basis.rules); });
    const InnerRunRequest inner = innerRequest(known);
    const std::vector<SpeciesScore> fitScores = innerScores(inner, cutoff, fitted, feedback, count);
    count.done += static_cast<long long>(fitted.size());
    const std::vector<SpeciesScore> targetScores = innerScores(inner, year, targets, feedback, count);
    count.done += static_cast<long long>(targets.size());

    RiskHindcastYear& fit = out.years.emplace_back();
    fit.year = year;
    FittedModel model = fitAt(known, cutoff, fitted, fitScores, fit.leftOut);
    fit.model = std::move(model.model);
    fit.reason = std::move(model.reason);
    fit.baseRate = baseRateAt(known, cutoff);
    for (std::size_t j = 0; j < targets.size(); ++j)
        rows[caseIndex[j]] = rowOf(known, fit, outcomes, targets[j], targetScores[j]);
}

}  // namespace

RiskHindcast runRiskHindcast(const RiskHindcastRequest& request, Feedback& feedback) {
    checkBasis(request.basis);
    for (const auto& [year, species] : request.cases) {
        positionOf(request.basis.species, species);
        if (!std::isfinite(year)) throw RunError("The hindcast year of " + species + " is not a number");
    }
    Outcomes outcomes;
    outcomes.reach = buildReachTable(*request.basis.data, request.basis.species, request.basis.missvalue);
    outcomes.end = latestDate(outcomes.reach);
    RiskHindcast out;
    out.horizon = request.basis.horizon;
    const std::vector<double> years = yearsOf(request);
    RunCount count{0, runsNeeded(request, outcomes, years)};
    feedback.progress(ProgressStage::Hindcasts, 0, count.total);
    std::vector<std::optional<RiskHindcastRow>> rows(request.cases.size());
    for (double year : years) hindcastYear(request, outcomes, year, out, rows, feedback, count);
    for (auto& row : rows) out.rows.push_back(std::move(*row));
    feedback.progress(ProgressStage::Hindcasts, count.total, count.total);
    return out;
}

std::vector<std::string> riskFigureColumns() {
    return {"risk_auc", "brier", "base_brier", "bss", "calibration_slope", "calibration_intercept"};
}

std::vector<el::TableCell> riskFigureCells(const RiskHindcastRow& row) {
    std::vector<el::TableCell> cells;
    for (const RiskFigure* figure :
         {&row.auc, &row.brier, &row.baseBrier, &row.brierSkill, &row.calibrationSlope, &row.calibrationIntercept})
        cells.push_back(figure->value ? TableCell::ofNumber(*figure->value) : TableCell());
    return cells;
}

el::PredictionTable riskTable(const RiskHindcast& hindcast) {
    el::PredictionTable table;
    table.columns = {{"year", ColumnType::Number},    {"species", ColumnType::Text}, {"region", ColumnType::Text},
                     {"number", ColumnType::Integer}, {"risk", ColumnType::Number},  {"outcome", ColumnType::Integer}};
    for (const RiskHindcastRow& row : hindcast.rows)
        for (const HindcastRiskRegion& region : row.regions)
            table.rows.push_back({TableCell::ofNumber(row.year), TableCell::ofText(row.species),
                                  TableCell::ofText(region.name), TableCell::ofNumber(region.region + 1),
                                  TableCell::ofNumber(region.risk),
                                  region.outcome ? TableCell::ofNumber(*region.outcome) : TableCell()});
    return table;
}

}  // namespace el::engine
