#include "engine/risk/risk_features.hpp"

#include <cmath>

#include "engine/risk/rank_percentile.hpp"

namespace el::engine {
namespace {

std::vector<bool> reachedRegions(const ReachTable& reach, int species, double cutoff) {
    std::vector<bool> reached(static_cast<std::size_t>(reach.regions()));
    for (int r = 0; r < reach.regions(); ++r)
        reached[static_cast<std::size_t>(r)] = reach.reachedBy(species, r, cutoff);
    return reached;
}

// Fills x from the raw values: centred percentiles, then the rate.
void placeFeatures(SpeciesCase& out, bool withDistance) {
    std::vector<std::optional<double>> score, distance, others;
    for (const RegionCase& r : out.regions) {
        score.push_back(r.score);
        distance.push_back(r.distance);
        others.push_back(static_cast<double>(r.otherSpecies));
    }
    const auto scorePct = rankPercentiles(score), distancePct = rankPercentiles(distance),
               othersPct = rankPercentiles(others);
    for (std::size_t i = 0; i < out.regions.size(); ++i) {
        std::vector<double>& x = out.regions[i].x;
        x.push_back(scorePct[i] - 0.5);
        if (withDistance) x.push_back(distancePct[i] - 0.5);
        x.push_back(othersPct[i] - 0.5);
        x.push_back(out.recentRate);
    }
}

}  // namespace

std::vector<std::string> riskTerms(const RiskFeatureSet& set) {
    std::vector<std::string> terms{"intercept", "score"};
    if (set.distance) terms.emplace_back("distance");
    terms.emplace_back("other_species");
    terms.emplace_back("recent_rate");
    return terms;
}

std::vector<int> recordedCounts(const ReachTable& reach, double cutoff) {
    std::vector<int> counts(static_cast<std::size_t>(reach.regions()), 0);
    for (int r = 0; r < reach.regions(); ++r)
        for (int s = 0; s < reach.species(); ++s) counts[static_cast<std::size_t>(r)] += reach.reachedBy(s, r, cutoff);
    return counts;
}

double recentRate(int newRegions, int openRegions) {
    return std::log((newRegions + 0.5) / (openRegions - newRegions + 0.5));
}

SpeciesCase speciesCase(const CaseInputs& inputs, int species, double cutoff,
                        const std::optional<std::vector<std::optional<double>>>& score) {
    const ReachTable& reach = *inputs.reach;
    SpeciesCase out;
    out.species = species;
    out.cutoff = cutoff;
    out.scored = score.has_value();
    out.newRegions = reach.newlyReachedCount(species, cutoff - inputs.horizon, cutoff);
    out.openRegions = reach.unreachedCount(species, cutoff - inputs.horizon);
    out.recentRate = recentRate(out.newRegions, out.openRegions);
    std::vector<std::optional<double>> distance(static_cast<std::size_t>(reach.regions()));
    if (inputs.centres != nullptr)
        distance = distanceToNearest(*inputs.centres, reachedRegions(reach, species, cutoff));
    const bool outcomeKnown = cutoff + inputs.horizon <= inputs.knownUpTo;
    for (int r = 0; r < reach.regions(); ++r) {
        if (!reach.unreachedAt(species, r, cutoff)) continue;
        const auto k = static_cast<std::size_t>(r);
        RegionCase region;
        region.region = r;
        if (score) region.score = (*score)[k];
        region.distance = distance[k];
        region.otherSpecies = inputs.recorded[k];  // the species itself has not reached it
        if (outcomeKnown) region.outcome = reach.newlyReached(species, r, cutoff, cutoff + inputs.horizon) ? 1 : 0;
        out.regions.push_back(std::move(region));
    }
    placeFeatures(out, inputs.centres != nullptr);
    return out;
}

}  // namespace el::engine
