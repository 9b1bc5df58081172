#include "engine/risk/risk_model.hpp"

#include "base/numtext.hpp"
#include "engine/risk/logistic_fit.hpp"
#include "engine/risk/risk_text.hpp"

namespace el::engine {
namespace {

std::string regionsWord(int n) { return n == 1 ? "region" : "regions"; }

// Why the cases are too few to fit, or "" when they will do.
std::string tooFew(int species, int arrivals, int nonArrivals, const RiskRules& rules, double cutoff, double horizon) {
    const std::string period = periodText(cutoff, cutoff + horizon);
    const std::string fit = " to fit the risk model";
    if (species < rules.minSpecies)
        return "only " + std::to_string(species) + " species had at least " + std::to_string(rules.minRegions) +
               " regions by " + plainnum(cutoff) + " and a first record in a new region in " + period + ": at least " +
               std::to_string(rules.minSpecies) + " are needed" + fit;
    if (arrivals < rules.minArrivals)
        return "only " + std::to_string(arrivals) + " " + regionsWord(arrivals) + " got a first record in " + period +
               ": at least " + std::to_string(rules.minArrivals) + " are needed" + fit;
    if (nonArrivals < rules.minNonArrivals)
        return "only " + std::to_string(nonArrivals) + " " + regionsWord(nonArrivals) +
               " stayed without a first record in " + period + ": at least " + std::to_string(rules.minNonArrivals) +
               " are needed" + fit;
    return {};
}

}  // namespace

bool fittedOn(const ReachTable& reach, int s, double cutoff, double horizon, const RiskRules& rules) {
    return reach.reachedCount(s, cutoff) >= rules.minRegions &&
           reach.newlyReachedCount(s, cutoff, cutoff + horizon) >= rules.minNewRegions;
}

bool scoredOn(const ReachTable& reach, int s, double cutoff, const RiskRules& rules) {
    return reach.reachedCount(s, cutoff) >= rules.minRegions && reach.unreachedCount(s, cutoff) >= 1;
}

FittedModel fitRiskModel(const std::vector<SpeciesCase>& cases, const RiskFeatureSet& set, const RiskRules& rules,
                         double cutoff, double horizon) {
    std::vector<LogisticCase> rows;
    int arrivals = 0;
    for (const SpeciesCase& species : cases)
        for (const RegionCase& region : species.regions) {
            if (!region.outcome) continue;
            rows.push_back({region.x, *region.outcome});
            arrivals += *region.outcome;
        }
    const int regions = static_cast<int>(rows.size());
    FittedModel out;
    out.reason = tooFew(static_cast<int>(cases.size()), arrivals, regions - arrivals, rules, cutoff, horizon);
    if (!out.reason.empty()) return out;
    LogisticOptions options;
    options.lambda = rules.lambda;
    const auto fit = fitLogistic(rows, options);
    if (!fit) {
        out.reason = "the risk model has no region to fit on";
        return out;
    }
    RiskModel model;
    model.cutoff = cutoff;
    model.upTo = cutoff + horizon;
    model.terms = riskTerms(set);
    model.coefficients = fit->coefficients;
    model.converged = fit->converged;
    model.iterations = fit->iterations;
    model.species = static_cast<int>(cases.size());
    model.regions = regions;
    model.arrivals = arrivals;
    out.model = std::move(model);
    return out;
}

double riskOf(const RiskModel& model, const RegionCase& region) {
    return logistic(linearPredictor(model.coefficients, region.x));
}

}  // namespace el::engine
