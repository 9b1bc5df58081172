#include "engine/risk/risk_check.hpp"

#include <algorithm>
#include <functional>
#include <map>
#include <numeric>

#include "engine/hindcast/rank_measures.hpp"
#include "engine/risk/logistic_fit.hpp"

namespace el::engine {
namespace {

// Risks this close to 0 or 1 are held there, so their logit stays finite.
constexpr double kRiskFloor = 1e-12;

RiskFigure valueOf(double value) { return {value, {}}; }
RiskFigure reasonOf(std::string reason) { return {std::nullopt, std::move(reason)}; }

// A ranking measure of `key` (larger: more at risk) within each species and over all regions.
struct Ranking {
    RiskFigure within, pooled;
    int species = 0;
};

Ranking rankBy(const std::vector<ScoredRegion>& regions,
               const std::function<std::optional<double>(const ScoredRegion&)>& key, const std::string& period) {
    std::map<int, std::pair<std::vector<double>, std::vector<double>>> bySpecies;  // arrivals, others
    std::vector<double> arrived, other;
    for (const ScoredRegion& r : regions) {
        const auto value = key(r);
        if (!value) continue;
        (r.outcome ? bySpecies[r.species].first : bySpecies[r.species].second).push_back(*value);
        (r.outcome ? arrived : other).push_back(*value);
    }
    Ranking out;
    double sum = 0;
    for (const auto& [species, values] : bySpecies) {
        const auto auc = rankAuc(values.first, values.second);
        if (!auc) continue;
        sum += *auc;
        ++out.species;
    }
    const std::string none = "no species had both a region newly reached in " + period + " and one not reached";
    out.within = out.species > 0 ? valueOf(sum / out.species) : reasonOf(none);
    const auto pooled = rankAuc(arrived, other);
    out.pooled =
        pooled ? valueOf(*pooled) : reasonOf("no region was newly reached in " + period + ", or every one was");
    return out;
}

void rankingFigures(const std::vector<ScoredRegion>& regions, const std::string& period, CheckFigures& out) {
    const Ranking model = rankBy(
        regions, [](const ScoredRegion& r) { return std::optional<double>(r.risk); }, period);
    out.auc = model.within;
    out.pooledAuc = model.pooled;
    out.aucSpecies = model.species;
    // An early (small) score and a short distance put a region at risk.
    out.scoreAuc = rankBy(
                       regions, [](const ScoredRegion& r) { return std::optional<double>(-r.score); }, period)
                       .within;
    const bool distance =
        std::any_of(regions.begin(), regions.end(), [](const ScoredRegion& r) { return r.distance.has_value(); });
    out.distanceAuc = distance ? rankBy(
                                     regions,
                                     [](const ScoredRegion& r) -> std::optional<double> {
                                         if (!r.distance) return std::nullopt;
                                         return -*r.distance;
                                     },
                                     period)
                                     .within
                               : reasonOf("the regions have no geometry");
}

void brierFigures(const std::vector<ScoredRegion>& regions, const std::string& period, CheckFigures& out) {
    const auto n = static_cast<double>(regions.size());
    double squared = 0;
    for (const ScoredRegion& r : regions) squared += (r.risk - r.outcome) * (r.risk - r.outcome);
    out.brier = valueOf(squared / n);
    const double base = out.arrivals / n;
    out.baseRate = valueOf(base);
    out.baseBrier = valueOf(base * (1 - base));
    if (out.arrivals == 0 || out.arrivals == out.regions)
        out.brierSkill = reasonOf(std::string(out.arrivals == 0 ? "no region" : "every region") +
                                  " got a first record in " + period + ": the base rate cannot be beaten");
    else out.brierSkill = valueOf(1 - *out.brier.value / *out.baseBrier.value);
    if (out.arrivals > 0) out.predictedToObserved = valueOf(out.predictedArrivals / out.arrivals);
    else out.predictedToObserved = reasonOf("no region got a first record in " + period);
}

void calibrationFigures(const std::vector<ScoredRegion>& regions, const std::string& period, CheckFigures& out) {
    if (out.arrivals == 0 || out.arrivals == out.regions) {
        const std::string reason = "the calibration needs regions with and without a first record in " + period;
        out.calibrationSlope = out.calibrationIntercept = reasonOf(reason);
        return;
    }
    std::vector<LogisticCase> rows;
    for (const ScoredRegion& r : regions)
        rows.push_back({{logit(std::clamp(r.risk, kRiskFloor, 1 - kRiskFloor))}, r.outcome});
    LogisticOptions plain;
    plain.lambda = 0;
    const auto fit = fitLogistic(rows, plain);
    out.calibrationConverged = fit && fit->converged;
    out.calibrationIterations = fit ? fit->iterations : 0;
    if (!out.calibrationConverged) {
        const std::string reason = "the calibration line did not settle (the risks may all be alike)";
        out.calibrationSlope = out.calibrationIntercept = reasonOf(reason);
        return;
    }
    out.calibrationIntercept = valueOf(fit->coefficients[0]);
    out.calibrationSlope = valueOf(fit->coefficients[1]);
}

}  // namespace

std::optional<double> rankAuc(const std::vector<double>& higher, const std::vector<double>& lower) {
    if (higher.empty() || lower.empty()) return std::nullopt;
    std::vector<double> all(higher);
    all.insert(all.end(), lower.begin(), lower.end());
    const std::vector<double> ranks = averageRanks(all);
    const double rankSum = std::accumulate(ranks.begin(), ranks.begin() + static_cast<long>(higher.size()), 0.0);
    const auto n1 = static_cast<double>(higher.size()), n0 = static_cast<double>(lower.size());
    return (rankSum - n1 * (n1 + 1) / 2) / (n1 * n0);
}

std::vector<ReliabilityBin> reliabilityBins(const std::vector<ScoredRegion>& regions, int bins) {
    std::vector<std::size_t> order(regions.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return regions[a].risk < regions[b].risk; });
    const std::size_t n = order.size(), groups = std::min(n, static_cast<std::size_t>(std::max(bins, 1)));
    std::vector<ReliabilityBin> out;
    for (std::size_t g = 0; g < groups; ++g) {
        const std::size_t begin = g * n / groups, end = (g + 1) * n / groups;
        ReliabilityBin bin;
        bin.regions = static_cast<int>(end - begin);
        bin.lowest = regions[order[begin]].risk;
        bin.highest = regions[order[end - 1]].risk;
        double risk = 0, arrived = 0;
        for (std::size_t i = begin; i < end; ++i) {
            risk += regions[order[i]].risk;
            arrived += regions[order[i]].outcome;
        }
        bin.meanRisk = risk / bin.regions;
        bin.observed = arrived / bin.regions;
        out.push_back(bin);
    }
    return out;
}

CheckFigures checkFigures(const std::vector<ScoredRegion>& regions, const std::string& period) {
    CheckFigures out;
    std::vector<int> species;
    for (const ScoredRegion& r : regions) {
        ++out.regions;
        out.arrivals += r.outcome;
        out.predictedArrivals += r.risk;
        if (std::find(species.begin(), species.end(), r.species) == species.end()) species.push_back(r.species);
    }
    out.species = static_cast<int>(species.size());
    if (regions.empty()) {
        const RiskFigure none = reasonOf("no region was left to check in " + period);
        out.auc = out.pooledAuc = out.scoreAuc = out.distanceAuc = out.brier = out.baseRate = out.baseBrier = none;
        out.brierSkill = out.calibrationSlope = out.calibrationIntercept = out.predictedToObserved = none;
        return out;
    }
    rankingFigures(regions, period, out);
    brierFigures(regions, period, out);
    calibrationFigures(regions, period, out);
    out.reliability = reliabilityBins(regions);
    return out;
}

}  // namespace el::engine
