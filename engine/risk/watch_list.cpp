#include "engine/risk/watch_list.hpp"

#include <algorithm>
#include <cmath>

#include "base/numtext.hpp"
#include "engine/model/run_error.hpp"
#include "engine/risk/risk_check.hpp"
#include "engine/risk/risk_text.hpp"

namespace el::engine {
namespace {

struct WatchRuns {
    std::vector<int> scored, checkFitted, eligible;
    std::vector<SpeciesScore> atCutoff, atCheckFit, atAsOf;
};

WatchRuns runAll(const KnownData& known, Feedback& feedback) {
    const double h = known.basis->horizon, asOf = known.upTo, cutoff = asOf - h, checkFit = asOf - 2 * h;
    const RiskRules& rules = known.basis->rules;
    WatchRuns runs;
    runs.scored = speciesWhere(known, [&](int s) { return scoredOn(known.reach, s, cutoff, rules); });
    runs.checkFitted = speciesWhere(known, [&](int s) { return fittedOn(known.reach, s, checkFit, h, rules); });
    runs.eligible = speciesWhere(known, [&](int s) { return scoredOn(known.reach, s, asOf, rules); });
    const InnerRunRequest inner = innerRequest(known);
    RunCount count{0, static_cast<long long>(runs.scored.size() + runs.checkFitted.size() + runs.eligible.size())};
    feedback.progress(ProgressStage::Hindcasts, 0, count.total);
    runs.atCutoff = innerScores(inner, cutoff, runs.scored, feedback, count);
    count.done += static_cast<long long>(runs.scored.size());
    runs.atCheckFit = innerScores(inner, checkFit, runs.checkFitted, feedback, count);
    count.done += static_cast<long long>(runs.checkFitted.size());
    runs.atAsOf = innerScores(inner, asOf, runs.eligible, feedback, count);
    feedback.progress(ProgressStage::Hindcasts, count.total, count.total);
    return runs;
}

void fillLists(const KnownData& known, const WatchRuns& runs, WatchList& out) {
    const std::vector<SpeciesCase> cases =
        casesAt(known, inputsAt(known, out.asOf), out.asOf, runs.eligible, runs.atAsOf, false, nullptr);
    for (const SpeciesCase& species : cases)
        for (const RegionCase& region : species.regions)
            out.regions[static_cast<std::size_t>(region.region)].species.push_back(
                {known.basis->species[static_cast<std::size_t>(species.species)], riskOf(*out.model, region)});
    for (WatchRegion& region : out.regions)
        std::stable_sort(region.species.begin(), region.species.end(),
                         [](const WatchEntry& a, const WatchEntry& b) { return a.risk > b.risk; });
}

void checkRegions(const KnownData& known, const WatchRuns& runs, WatchList& out) {
    const double cutoff = out.asOf - out.horizon;
    const std::string period = periodText(cutoff, out.asOf);
    std::vector<std::vector<double>> arrived(out.regions.size()), other(out.regions.size());
    if (out.checkModel) {
        const std::vector<SpeciesCase> cases =
            casesAt(known, inputsAt(known, cutoff), cutoff, runs.scored, runs.atCutoff, false, nullptr);
        for (const SpeciesCase& species : cases)
            for (const RegionCase& region : species.regions) {
                const auto r = static_cast<std::size_t>(region.region);
                (region.outcome.value_or(0) == 1 ? arrived[r] : other[r]).push_back(riskOf(*out.checkModel, region));
            }
    }
    for (std::size_t r = 0; r < out.regions.size(); ++r) {
        WatchRegion& region = out.regions[r];
        region.checkArrivals = static_cast<int>(arrived[r].size());
        region.checkSpecies = static_cast<int>(arrived[r].size() + other[r].size());
        if (!out.checkModel) {
            region.checkAuc = {std::nullopt, out.checkReason};
        } else if (const auto auc = rankAuc(arrived[r], other[r])) {
            region.checkAuc = {*auc, {}};
        } else {
            region.checkAuc = {std::nullopt, arrived[r].empty()
                                                 ? "no species checked got a first record here in " + period
                                                 : "every species checked got a first record here in " + period};
        }
    }
}

}  // namespace

WatchList computeWatchList(const RiskBasis& basis, std::optional<double> asOf, Feedback& feedback) {
    checkBasis(basis);
    if (asOf && !std::isfinite(*asOf)) throw RunError("The as-of year is not a number");
    WatchList out;
    out.horizon = basis.horizon;
    const auto latest = latestDate(buildReachTable(*basis.data, basis.species, basis.missvalue));
    if (!asOf && !latest) {
        out.reason = out.checkReason = "the species analysed have no date: there is no as-of year";
        return out;
    }
    out.asOf = asOf ? *asOf : *latest;
    const KnownData known = knownAt(basis, out.asOf);
    for (std::size_t r = 0; r < known.data.objects.size(); ++r)
        out.regions.push_back({static_cast<int>(r), known.data.objects[r].name, {}, {}, 0, 0});
    const WatchRuns runs = runAll(known, feedback);
    const double cutoff = out.asOf - out.horizon;
    FittedModel model = fitAmongScored(known, cutoff, runs.scored, runs.atCutoff, out.leftOut);
    out.model = std::move(model.model);
    out.reason = std::move(model.reason);
    FittedModel check = fitAt(known, cutoff - out.horizon, runs.checkFitted, runs.atCheckFit, out.leftOut);
    out.checkModel = std::move(check.model);
    out.checkReason = std::move(check.reason);
    if (out.model) fillLists(known, runs, out);
    checkRegions(known, runs, out);
    return out;
}

el::PredictionTable watchTable(const WatchList& list) {
    el::PredictionTable table;
    table.columns = {{"region", ColumnType::Text},  {"number", ColumnType::Integer}, {"rank", ColumnType::Integer},
                     {"species", ColumnType::Text}, {"risk", ColumnType::Number},    {"check_auc", ColumnType::Number}};
    for (const WatchRegion& region : list.regions)
        for (std::size_t k = 0; k < region.species.size(); ++k)
            table.rows.push_back({TableCell::ofText(region.name), TableCell::ofNumber(region.region + 1),
                                  TableCell::ofNumber(static_cast<double>(k + 1)),
                                  TableCell::ofText(region.species[k].species),
                                  TableCell::ofNumber(region.species[k].risk),
                                  region.checkAuc.value ? TableCell::ofNumber(*region.checkAuc.value) : TableCell()});
    return table;
}

}  // namespace el::engine
