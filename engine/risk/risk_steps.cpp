#include "engine/risk/risk_steps.hpp"

#include <algorithm>
#include <cmath>

#include "base/numtext.hpp"
#include "engine/hindcast/hindcast.hpp"
#include "engine/model/run_error.hpp"
#include "engine/risk/risk_text.hpp"

namespace el::engine {

void checkBasis(const RiskBasis& basis) {
    if (basis.data == nullptr) throw RunError("No complete data set is loaded");
    if (!std::isfinite(basis.horizon) || !(basis.horizon > 0))
        throw RunError("The risk horizon " + plainnum(basis.horizon) + " is not a number of years above 0");
}

KnownData knownAt(const RiskBasis& basis, double year) {
    KnownData known;
    known.basis = &basis;
    known.upTo = year;
    known.data = maskLaterDates(*basis.data, basis.species, year);
    known.reach = buildReachTable(known.data, basis.species, basis.missvalue);
    known.centres = regionCentres(known.data);
    known.distance = std::any_of(known.centres.centre.begin(), known.centres.centre.end(),
                                 [](const auto& c) { return c.has_value(); });
    return known;
}

InnerRunRequest innerRequest(const KnownData& known) {
    const RiskBasis& basis = *known.basis;
    return {&known.data, basis.species, basis.missvalue, basis.calculationDate, basis.settings, basis.threads};
}

CaseInputs inputsAt(const KnownData& known, double cutoff) {
    return {&known.reach, known.distance ? &known.centres : nullptr, known.basis->horizon, known.upTo,
            recordedCounts(known.reach, cutoff)};
}

std::vector<SpeciesCase> casesAt(const KnownData& known, const CaseInputs& inputs, double cutoff,
                                 const std::vector<int>& species, const std::vector<SpeciesScore>& scores, bool fitting,
                                 std::vector<SpeciesLeftOut>* leftOut) {
    std::vector<SpeciesCase> cases;
    for (std::size_t j = 0; j < species.size(); ++j) {
        const SpeciesScore& run = scores[j];
        if (!run.ran && fitting) {
            if (leftOut != nullptr)
                leftOut->push_back({known.basis->species[static_cast<std::size_t>(species[j])], cutoff, run.error});
            continue;
        }
        std::optional<std::vector<std::optional<double>>> score;
        if (run.ran) score = run.score;
        cases.push_back(speciesCase(inputs, species[j], cutoff, score));
    }
    return cases;
}

void fittedAmong(const KnownData& known, double cutoff, const std::vector<int>& species,
                 const std::vector<SpeciesScore>& scores, std::vector<int>& fitted,
                 std::vector<SpeciesScore>& fittedScores) {
    for (std::size_t j = 0; j < species.size(); ++j)
        if (fittedOn(known.reach, species[j], cutoff, known.basis->horizon, known.basis->rules)) {
            fitted.push_back(species[j]);
            fittedScores.push_back(scores[j]);
        }
}

FittedModel fitAt(const KnownData& known, double cutoff, const std::vector<int>& species,
                  const std::vector<SpeciesScore>& scores, std::vector<SpeciesLeftOut>& leftOut) {
    const std::vector<SpeciesCase> cases =
        casesAt(known, inputsAt(known, cutoff), cutoff, species, scores, true, &leftOut);
    return fitRiskModel(cases, RiskFeatureSet{known.distance}, known.basis->rules, cutoff, known.basis->horizon);
}

FittedModel fitAmongScored(const KnownData& known, double cutoff, const std::vector<int>& species,
                           const std::vector<SpeciesScore>& scores, std::vector<SpeciesLeftOut>& leftOut) {
    std::vector<int> fitted;
    std::vector<SpeciesScore> fittedScores;
    fittedAmong(known, cutoff, species, scores, fitted, fittedScores);
    return fitAt(known, cutoff, fitted, fittedScores, leftOut);
}

RiskRegion riskRegion(const KnownData& known, const RiskModel& model, const RegionCase& region) {
    RiskRegion out;
    out.region = region.region;
    out.name = known.data.objects[static_cast<std::size_t>(region.region)].name;
    out.risk = riskOf(model, region);
    out.score = region.score;
    out.distance = region.distance;
    out.otherSpecies = region.otherSpecies;
    out.features = region.x;
    return out;
}

RiskFigure baseRateAt(const KnownData& known, double cutoff) {
    const double upTo = cutoff + known.basis->horizon;
    const std::string period = periodText(cutoff, upTo);
    if (upTo > known.upTo) return {std::nullopt, "the data known end before " + plainnum(upTo)};
    int regions = 0, arrivals = 0;
    for (int s = 0; s < known.reach.species(); ++s) {
        if (!scoredOn(known.reach, s, cutoff, known.basis->rules)) continue;
        regions += known.reach.unreachedCount(s, cutoff);
        arrivals += known.reach.newlyReachedCount(s, cutoff, upTo);
    }
    if (regions == 0) return {std::nullopt, "no species had a region left to reach in " + period};
    return {static_cast<double>(arrivals) / regions, {}};
}

}  // namespace el::engine
