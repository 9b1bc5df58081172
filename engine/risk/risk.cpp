#include "engine/risk/risk.hpp"

#include <algorithm>
#include <cmath>

#include "base/numtext.hpp"
#include "engine/hindcast/hindcast.hpp"
#include "engine/risk/inner_scores.hpp"
#include "engine/risk/risk_sentences.hpp"
#include "engine/risk/risk_text.hpp"
#include "engine/run/run_error.hpp"

namespace el::engine {
namespace {

// Everything the cut-offs of one computation share: the data known at Y and their table.
struct Known {
    const RiskRequest* request = nullptr;
    vec::VectorData data;
    ReachTable reach{0, 0, {}};
    RegionCentres centres;
    bool distance = false;
};

int targetPosition(const RiskRequest& request) {
    int position = -1;  // the last entry of that name, as a run chooses its target
    for (std::size_t s = 0; s < request.species.size(); ++s)
        if (request.species[s] == request.target) position = static_cast<int>(s);
    if (position < 0) throw RunError("\"" + request.target + "\" is not among the species analysed");
    return position;
}

void checkRequest(const RiskRequest& request) {
    if (request.data == nullptr) throw RunError("No complete data set is loaded");
    if (!std::isfinite(request.horizon) || !(request.horizon > 0))
        throw RunError("The risk horizon " + plainnum(request.horizon) + " is not a number of years above 0");
    if (request.asOf && !std::isfinite(*request.asOf)) throw RunError("The as-of year is not a number");
}

void prepareKnown(Known& known, const RiskRequest& request, double asOf) {
    known.request = &request;
    known.data = maskLaterDates(*request.data, request.species, asOf);
    known.reach = buildReachTable(known.data, request.species, request.missvalue);
    known.centres = regionCentres(known.data);
    known.distance = std::any_of(known.centres.centre.begin(), known.centres.centre.end(),
                                 [](const auto& c) { return c.has_value(); });
}

InnerRunRequest innerRequest(const Known& known) {
    const RiskRequest& request = *known.request;
    return {&known.data,      request.species, request.missvalue, request.calculationDate,
            request.settings, request.threads};
}

CaseInputs inputsAt(const Known& known, double cutoff, double asOf) {
    return {&known.reach, known.distance ? &known.centres : nullptr, known.request->horizon, asOf,
            recordedCounts(known.reach, cutoff)};
}

template <class Keep>
std::vector<int> speciesWhere(const Known& known, Keep keep) {
    std::vector<int> out;
    for (int s = 0; s < known.reach.species(); ++s)
        if (keep(s)) out.push_back(s);
    return out;
}

// The cases of `species` at `cutoff` from their runs' scores; with `fitting`, a species whose
// run stopped is left out (and listed), else it takes part with its score at the middle.
std::vector<SpeciesCase> casesAt(const Known& known, const CaseInputs& inputs, double cutoff,
                                 const std::vector<int>& species, const std::vector<SpeciesScore>& scores, bool fitting,
                                 std::vector<SpeciesLeftOut>* leftOut) {
    std::vector<SpeciesCase> cases;
    for (std::size_t j = 0; j < species.size(); ++j) {
        const SpeciesScore& run = scores[j];
        if (!run.ran && fitting) {
            if (leftOut != nullptr)
                leftOut->push_back({known.request->species[static_cast<std::size_t>(species[j])], cutoff, run.error});
            continue;
        }
        std::optional<std::vector<std::optional<double>>> score;
        if (run.ran) score = run.score;
        cases.push_back(speciesCase(inputs, species[j], cutoff, score));
    }
    return cases;
}

RiskRegion riskRegion(const Known& known, const RiskModel& model, const RegionCase& region) {
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

}  // namespace

namespace {

// The early-late runs of one computation: at Y - H for every species a check scores (those
// fitted on for the forecast among them), at Y - 2H for those the check's model is fitted
// on, and at Y for the target.
struct Runs {
    std::vector<int> scored, checkFitted;
    std::vector<SpeciesScore> atCutoff, atCheckFit, atAsOf;
};

Runs runAll(const Known& known, int target, double asOf, Feedback& feedback) {
    const double h = known.request->horizon, cutoff = asOf - h, checkFit = asOf - 2 * h;
    const RiskRules& rules = known.request->rules;
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

// The scored species at Y - H that the forecast's model is fitted on, with their runs.
void fittedAmongScored(const Known& known, const Runs& runs, double cutoff, std::vector<int>& species,
                       std::vector<SpeciesScore>& scores) {
    for (std::size_t j = 0; j < runs.scored.size(); ++j)
        if (fittedOn(known.reach, runs.scored[j], cutoff, known.request->horizon, known.request->rules)) {
            species.push_back(runs.scored[j]);
            scores.push_back(runs.atCutoff[j]);
        }
}

void forecast(const Known& known, const Runs& runs, int target, RiskResult& out) {
    const double h = out.horizon, cutoff = out.asOf - h;
    std::vector<int> species;
    std::vector<SpeciesScore> scores;
    fittedAmongScored(known, runs, cutoff, species, scores);
    const RiskFeatureSet set{known.distance};
    const CaseInputs inputs = inputsAt(known, cutoff, out.asOf);
    FittedModel fitted = fitRiskModel(casesAt(known, inputs, cutoff, species, scores, true, &out.leftOut), set,
                                      known.request->rules, cutoff, h);
    out.model = std::move(fitted.model);
    out.modelReason = std::move(fitted.reason);

    const SpeciesScore& own = runs.atAsOf.front();
    if (!own.ran)
        out.notes.push_back("the early-late run for " + out.target + " on the data up to " + plainnum(out.asOf) +
                            " stopped (" + own.error + "): its score is left at the middle for every region");
    const CaseInputs now = inputsAt(known, out.asOf, out.asOf);
    const SpeciesCase targetCase = casesAt(known, now, out.asOf, {target}, runs.atAsOf, false, nullptr).front();
    out.targetRate = targetCase.recentRate;
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

RiskFigure baseRateOf(const std::vector<SpeciesCase>& cases, const std::string& period) {
    int regions = 0, arrivals = 0;
    for (const SpeciesCase& species : cases)
        for (const RegionCase& region : species.regions) {
            ++regions;
            arrivals += region.outcome.value_or(0);
        }
    if (regions == 0) return {std::nullopt, "no species had a region left to reach in " + period};
    return {static_cast<double>(arrivals) / regions, {}};
}

void check(const Known& known, const Runs& runs, RiskResult& out) {
    const double h = out.horizon, cutoff = out.asOf - h, checkFit = out.asOf - 2 * h;
    RiskCheck& result = out.check;
    result.cutoff = cutoff;
    result.upTo = out.asOf;
    const std::string period = periodText(cutoff, out.asOf);
    const std::vector<SpeciesCase> scored =
        casesAt(known, inputsAt(known, cutoff, out.asOf), cutoff, runs.scored, runs.atCutoff, false, nullptr);
    result.baseRate = baseRateOf(scored, period);
    FittedModel fitted = fitRiskModel(casesAt(known, inputsAt(known, checkFit, out.asOf), checkFit, runs.checkFitted,
                                              runs.atCheckFit, true, &out.leftOut),
                                      RiskFeatureSet{known.distance}, known.request->rules, checkFit, h);
    result.model = std::move(fitted.model);
    result.reason = std::move(fitted.reason);
    if (!result.model) return;
    result.figures = checkFigures(scoredRegions(*result.model, scored, known.distance), period);
}

}  // namespace

RiskResult computeRisk(const RiskRequest& request, Feedback& feedback) {
    checkRequest(request);
    const int target = targetPosition(request);
    RiskResult out;
    out.target = request.target;
    out.horizon = request.horizon;
    const auto latest = latestDate(buildReachTable(*request.data, request.species, request.missvalue));
    if (!request.asOf && !latest) {
        out.riskReason = out.modelReason = out.check.reason =
            "the species analysed have no date: there is no as-of year";
        out.sentences = {"No risk for " + out.target + ": " + out.riskReason + "."};
        return out;
    }
    out.asOf = request.asOf ? *request.asOf : *latest;
    Known known;
    prepareKnown(known, request, out.asOf);
    out.distanceUsed = known.distance;
    if (!known.distance)
        out.notes.push_back("the regions have no geometry: the distance to the nearest region reached is left out");
    const Runs runs = runAll(known, target, out.asOf, feedback);
    forecast(known, runs, target, out);
    check(known, runs, out);
    out.sentences = riskSentences(out);
    return out;
}

}  // namespace el::engine
