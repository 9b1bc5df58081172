#include "engine/pass/power_pass.hpp"

#include <climits>

#include "base/numtext.hpp"
#include "engine/model/run_error.hpp"
#include "engine/pass/packed_matrix.hpp"
#include "engine/trials/trials.hpp"

namespace el::engine {
namespace {

void weighSpecies(const PassInput& in, const PassContext& cx, PassOutcome& out) {
    out.weights = computeWeights(*in.comparison, *in.resampling, in.table.name, in.table.target,
                                 isOn(cx.settings, Setting::AutoWeight), out.p1, out.p2, cx.feedback);
    const std::string simOutput = cx.settings.setting(Setting::SimOutput);
    if (simOutput == "none") return;
    out.similarity = simOutput == "distance" ? SimilarityForm::Dissimilarity : SimilarityForm::Similarity;
    out.similarityCounts = &in.comparison->whole(cx.feedback);
}

// Trial statistics per region number; zero when this pass runs no trials.
void runTrials(const PassInput& in, const PassContext& cx, PassOutcome& out) {
    const auto regions = static_cast<std::size_t>(in.status.regions);
    out.trials = {false, std::vector<double>(regions, 0.0), std::vector<double>(regions, 0.0), 0};
    if (!isOn(cx.settings, Setting::DoReliability)) {
        if (cx.turns != nullptr) cx.turns->done(cx.pass);
        return;
    }
    const int count = readIterations(cx.settings);
    if (!cx.scratch.counts)
        cx.scratch.counts = in.packed ? countCodes(*in.packed, cx.threads) : countRelations(in.status);
    if (cx.turns != nullptr) cx.turns->await(cx.pass);
    TrialStats stats = reliability(*cx.scratch.counts, count, cx.random, cx.scratch.power, cx.feedback, cx.threads);
    if (cx.turns != nullptr) cx.turns->done(cx.pass);
    out.trials = {true, std::move(stats.eigenmean), std::move(stats.eigensd), stats.vectorshift};
}

// The plain path: the early-late matrix of the pass from the status matrix and the regions
// finally used, with M and W cut down to them.
EarlyLateMatrix chooseRegions(const PassInput& in, const PassContext& cx, PassOutcome& out) {
    EarlyLateMatrix el = buildEarlyLateMatrix(in.status, out.weights.weight, in.targetIndex());
    out.used = allRegions(in.regionNames);
    if (in.status.regions == 0) throw RunError("There is no region to analyse");
    if (isOn(cx.settings, Setting::ExcludeLimited)) {
        excludeRegions(el.M, el.W, out.used, in.regionviable, cx.settings, cx.feedback);
        cx.listener.stageDone(PassStage::Excluded, out);
        if (out.used.size() == 0) throw RunError("No region is left to analyse");
    }
    return el;
}

void scoreRegions(EarlyLateMatrix& el, const PassContext& cx, PassOutcome& out) {
    fillMissingCells(el.M, el.W, fillModeOf(cx.settings.setting(Setting::MissingMode)));
    out.scoreIteration = cx.scratch.power.eigenvector(el.M, out.score, cx.feedback);
    out.order = regionOrder(out.score);
    out.matrix = std::move(el.M);
}

// The plain path from the weights to the scores; false when the regions are not connected.
bool scorePlainly(const PassInput& in, const PassContext& cx, PassOutcome& out) {
    EarlyLateMatrix el = chooseRegions(in, cx, out);
    if (testConnectivity(el.W, cx.feedback).failedStart) return false;
    scoreRegions(el, cx, out);
    return true;
}

// The same from the packed codes: the exclusion decides first, the frame of the regions
// kept and the weighted species brings the connectivity test's outcome, and the matrix is
// built straight into the scratch storage.
bool scoreFromCodes(const PassInput& in, const PassContext& cx, const PackedWeights& weights, PassOutcome& out) {
    out.used = allRegions(in.regionNames);
    if (in.status.regions == 0) throw RunError("There is no region to analyse");
    std::vector<int> keep = out.used.regno;  // positions, which are the region numbers here
    if (isOn(cx.settings, Setting::ExcludeLimited)) {
        keep = keptPositions(out.used, in.regionviable, cx.settings, cx.feedback);
        keepPositions(out.used, keep);
        cx.listener.stageDone(PassStage::Excluded, out);
        if (out.used.size() == 0) throw RunError("No region is left to analyse");
    }
    const auto frame = cx.frames->frame(keep, weights, cx.threads, cx.feedback);
    if (frame->failedStart) return false;
    SquareMatrix M = std::move(cx.scratch.matrix);
    filledMatrix(*frame, weights, fillModeOf(cx.settings.setting(Setting::MissingMode)), cx.threads, M);
    out.scoreIteration = cx.scratch.power.eigenvector(M, out.score, cx.feedback, weights.bounded);
    out.order = regionOrder(out.score);
    out.matrix = std::move(M);
    return true;
}

SpeciesFit fitOf(const PassInput& in, int species, const PassOutcome& out) {
    const Status* shown = in.status.cell.data() + species;
    return fitRegions({shown, static_cast<std::size_t>(in.status.species)},
                      in.table.target ? &in.status.actual : nullptr, out.used.regno, out.score);
}

SpeciesOutcome fitOne(const PassInput& in, int species, const SettingsSource& settings, const PassOutcome& out,
                      const std::vector<double>& meanByPosition) {
    SpeciesOutcome result;
    result.fit = fitOf(in, species, out);
    const SpeciesFit& fit = result.fit;
    result.scale = fit.a;  // an examine-weight run takes both spreads as 1
    if (!isOn(settings, Setting::ExamineWeight))
        result.scale = out.trials.ran ? trialScale(out.score, meanByPosition, fit.a) : 0;
    if (fit.predictable) {
        result.predicted.reserve(out.score.size());
        for (double v : out.score) result.predicted.push_back(fit.a * v + fit.b);
    }
    return result;
}

}  // namespace

SpeciesFit fitRegions(const StatusColumn& shown, const std::vector<Status>* actual, const std::vector<int>& regno,
                      const std::vector<double>& score) {
    FitSums training, validation;
    for (std::size_t p = 0; p < regno.size(); ++p) {
        const auto k = static_cast<std::size_t>(regno[p]);
        const Status& st = shown.at(k);
        if (st.kind == StatusKind::Date) training.add(st.date, score[p]);
        else if (actual != nullptr && (*actual)[k].kind == StatusKind::Date)
            validation.add((*actual)[k].date, score[p]);
    }
    return fitSpecies(training, validation);
}

int readIterations(const SettingsSource& settings) {
    const std::string text = settings.setting(Setting::IterationN);
    const double rounded = roundHalfEven(numberOrRunError(text, "iteration"));
    if (rounded < 1) throw RunError("The iteration text \"" + text + "\" must give at least 1 trial");
    if (rounded > INT_MAX) throw RunError("The iteration text \"" + text + "\" gives too many trials");
    return static_cast<int>(rounded);
}

std::vector<double> byPosition(const std::vector<double>& values, const std::vector<int>& regno) {
    std::vector<double> out;
    out.reserve(regno.size());
    for (int k : regno) out.push_back(values[static_cast<std::size_t>(k)]);
    return out;
}

PassOutcome computePass(const PassInput& input, double p1, double p2, const PassContext& context) {
    PassOutcome out;
    out.p1 = p1;
    out.p2 = p2;
    context.listener.stageDone(PassStage::Started, out);
    weighSpecies(input, context, out);
    context.listener.stageDone(PassStage::Weighted, out);
    runTrials(input, context, out);

    std::optional<PackedWeights> packed;
    if (input.packed && context.frames != nullptr)
        packed = packedWeights(out.weights.weight, input.targetIndex(), input.packed->planes);
    if (!(packed ? scoreFromCodes(input, context, *packed, out) : scorePlainly(input, context, out))) return out;
    out.connected = true;
    context.listener.stageDone(PassStage::Scored, out);

    const std::vector<double> meanByPosition = byPosition(out.trials.eigenmean, out.used.regno);
    out.species.reserve(static_cast<std::size_t>(input.table.size()));
    for (int j = 0; j < input.table.size(); ++j) {
        out.species.push_back(fitOne(input, j, context.settings, out, meanByPosition));
        context.listener.stageDone(PassStage::SpeciesFitted, out);
    }
    out.matrixListing = context.settings.setting(Setting::ElMatrixOutput) == "detailed";
    context.listener.stageDone(PassStage::Finished, out);
    return out;
}

}  // namespace el::engine
