#include "engine/risk/risk.hpp"

#include <cmath>

#include "base/numtext.hpp"
#include "engine/model/run_error.hpp"
#include "engine/risk/inner_scores.hpp"
#include "engine/risk/risk_sentences.hpp"
#include "engine/risk/risk_steps.hpp"
#include "engine/risk/risk_text.hpp"

namespace el::engine {
namespace {

int targetPosition(const RiskRequest& request) {
    int position = -1;  // the last entry of that name, as a run chooses its target
    const std::vector<std::string>& species = request.basis.species;
    for (std::size_t s = 0; s < species.size(); ++s)
        if (species[s] == request.target) position = static_cast<int>(s);
    if (position < 0) throw RunError("\"" + request.target + "\" is not among the species analysed");
    return position;
}

// The early-late runs of one computation: at Y - H for every species a check scores (those
// fitted on for the forecast among them), at Y - 2H for those the check's model is fitted
// on, and at Y for the target.
struct Runs {
    std::vector<int> scored, checkFitted;
    std::vector<SpeciesScore> atCutoff, atCheckFit, atAsOf;
};

Runs runAll(const KnownData& known, int target, Feedback& feedback) {
    const double h = known.basis->horizon, asOf = known.upTo, cutoff = asOf - h, checkFit = asOf - 2 * h;
    const RiskRules& rules = known.basis->rules;
    Runs runs;
    runs.scored = speciesWhere(known, [&](int s) { return scoredOn(known.reach, s, cutoff, rules); });
    runs.checkFitted = speciesWhere(known, [&](int s) { return fittedOn(known.reach, s, checkFit, h, rules); });
    const InnerRunRequest inner = innerRequest(known);
    RunCount count{0, static_cast<long long>(runs.scored.size() + runs.checkFitted.size()) + 1};
    feedback.progress(ProgressStage::Hindcasts, 0, count.total);
    runs.atCutoff = innerScores(inner, cutoff, runs.scored, feedback, count);
    count.done += static_cast<long long>(runs.scored.size());
    runs.atCheckFit = innerScores(inner, checkFit, runs.checkFitted, feedback, count);
    count.done += static_cast<long long>(runs.checkFitted.size());
    runs.atAsOf = innerScores(inner, asOf, {target}, feedback, count);
    feedback.progress(ProgressStage::Hindcasts, count.total, count.total);
    return runs;
}

void forecast(const KnownData& known, const Runs& runs, int target, RiskResult& out) {
    const double cutoff = out.asOf - out.horizon;
    FittedModel fitted = fitAmongScored(known, cutoff, runs.scored, runs.atCutoff, out.leftOut);
    out.model = std::move(fitted.model);
    out.modelReason = std::move(fitted.reason);

    const SpeciesScore& own = runs.atAsOf.front();
    if (!own.ran)
        out.notes.push_back("the early-late run for " + out.target + " on the data up to " + plainnum(out.asOf) +
                            " stopped (" + own.error + "): its score is left at the middle for every region");
    const CaseInputs now = inputsAt(known, out.asOf);
    const SpeciesCase targetCase = casesAt(known, now, out.asOf, {target}, runs.atAsOf, false, nullptr).front();
    out.targetRate = targetCase.recentRate;
    for (int k = 0; k < known.reach.regions(); ++k)
        if (known.reach.reachedBy(target, k, out.asOf)) out.reached.push_back(k);
    if (!out.model) {
        out.riskReason = out.modelReason;
    } else if (targetCase.regions.empty()) {
        out.riskReason = out.target + " has no region left that it had not reached by " + plainnum(out.asOf);
    } else {
        for (const RegionCase& region : targetCase.regions)
            out.regions.push_back(riskRegion(known, *out.model, region));
    }
    if (out.model && !out.model->converged)
        out.notes.push_back("the risk model did not converge in " + std::to_string(out.model->iterations) +
                            " iterations: its risks are uncertain");
}

std::vector<ScoredRegion> scoredRegions(const RiskModel& model, const std::vector<SpeciesCase>& cases, bool distance) {
    std::vector<ScoredRegion> out;
    for (const SpeciesCase& species : cases)
        for (const RegionCase& region : species.regions) {
            ScoredRegion scored;
            scored.species = species.species;
            scored.risk = riskOf(model, region);
            scored.outcome = region.outcome.value_or(0);
            scored.score = region.x.front();
            if (distance) scored.distance = region.x[1];
            out.push_back(scored);
        }
    return out;
}

void check(const KnownData& known, const Runs& runs, RiskResult& out) {
    const double cutoff = out.asOf - out.horizon, checkFit = out.asOf - 2 * out.horizon;
    RiskCheck& result = out.check;
    result.cutoff = cutoff;
    result.upTo = out.asOf;
    result.baseRate = baseRateAt(known, cutoff);
    FittedModel fitted = fitAt(known, checkFit, runs.checkFitted, runs.atCheckFit, out.leftOut);
    result.model = std::move(fitted.model);
    result.reason = std::move(fitted.reason);
    if (!result.model) return;
    const std::vector<SpeciesCase> scored =
        casesAt(known, inputsAt(known, cutoff), cutoff, runs.scored, runs.atCutoff, false, nullptr);
    result.figures = checkFigures(scoredRegions(*result.model, scored, known.distance), periodText(cutoff, out.asOf));
}

}  // namespace

RiskResult computeRisk(const RiskRequest& request, Feedback& feedback) {
    const RiskBasis& basis = request.basis;
    checkBasis(basis);
    if (request.asOf && !std::isfinite(*request.asOf)) throw RunError("The as-of year is not a number");
    const int target = targetPosition(request);
    RiskResult out;
    out.target = request.target;
    out.horizon = basis.horizon;
    const auto latest = latestDate(buildReachTable(*basis.data, basis.species, basis.missvalue));
    if (!request.asOf && !latest) {
        out.riskReason = out.modelReason = out.check.reason =
            "the species analysed have no date: there is no as-of year";
        out.sentences = {"No risk for " + out.target + ": " + out.riskReason + "."};
        return out;
    }
    out.asOf = request.asOf ? *request.asOf : *latest;
    const KnownData known = knownAt(basis, out.asOf);
    out.distanceUsed = known.distance;
    if (!known.distance)
        out.notes.push_back("the regions have no geometry: the distance to the nearest region reached is left out");
    const Runs runs = runAll(known, target, feedback);
    forecast(known, runs, target, out);
    check(known, runs, out);
    out.sentences = riskSentences(out);
    return out;
}

}  // namespace el::engine
