#include "engine/hindcast/hindcast.hpp"

#include <algorithm>

#include "base/log_sink.hpp"
#include "base/messenger.hpp"
#include "engine/hindcast/rank_measures.hpp"
#include "engine/kernels/status_matrix.hpp"
#include "engine/model/run_error.hpp"
#include "engine/run/engine.hpp"

namespace el::engine {
namespace {

bool isSpecies(const std::vector<std::string>& species, const std::string& name) {
    return std::find(species.begin(), species.end(), name) != species.end();
}

// The target's status in region k as the unmasked file records it.
std::optional<Status> recordedStatus(const vec::VectorData& data, int variable, std::size_t k) {
    if (variable < 0) return std::nullopt;
    return readStatus(data.objects[k].values[static_cast<std::size_t>(variable)]);
}

// Regions the target had reached by the cut-off: a date not after it, or "Arrived".
std::vector<bool> reachedBy(const vec::VectorData& data, int variable, double year) {
    std::vector<bool> reached(data.objects.size(), false);
    for (std::size_t k = 0; k < reached.size(); ++k) {
        const auto status = recordedStatus(data, variable, k);
        reached[k] = status && ((status->kind == StatusKind::Date && status->date <= year) ||
                                status->kind == StatusKind::Arrived);
    }
    return reached;
}

}  // namespace

std::vector<HindcastRegion> scoredRegions(const vec::VectorData& data, const RegionCentres& centres,
                                          const MaskedForecast& forecast, double year) {
    const int variable = variableNamed(data, forecast.targetName);
    const auto distance = distanceToNearest(centres, reachedBy(data, variable, year));
    std::vector<HindcastRegion> regions;
    for (std::size_t p = 0; p < forecast.regno.size(); ++p) {
        const auto k = static_cast<std::size_t>(forecast.regno[p]);
        const auto status = recordedStatus(data, variable, k);
        if (!status) continue;
        HindcastRegion region;
        region.region = forecast.regno[p];
        if (status->kind == StatusKind::Date && status->date > year) {
            region.kind = HindcastClass::ReachedLater;
            region.recorded = status->date;
        } else if (status->kind != StatusKind::NotYetArrived) {
            continue;
        }
        if (forecast.predictable) region.predicted = forecast.predicted[p];
        region.distance = distance[k];
        regions.push_back(region);
    }
    return regions;
}

vec::VectorData maskLaterDates(const vec::VectorData& data, const std::vector<std::string>& species, double year) {
    vec::VectorData masked = data;
    for (int v = 0; v < masked.valn(); ++v) {
        if (!isSpecies(species, masked.valname[static_cast<std::size_t>(v)])) continue;
        for (vec::VectorObject& object : masked.objects) {
            std::string& value = object.values[static_cast<std::size_t>(v)];
            const auto status = readStatus(value);
            if (status && status->kind == StatusKind::Date && status->date > year) value = "NotYetArrived";
        }
    }
    return masked;
}

MaskedRun runMasked(const HindcastRequest& request, double year, Feedback& feedback) {
    const vec::VectorData masked = maskLaterDates(*request.data, request.species, year);
    SettingValues settings = request.settings;
    settings.set(Setting::ExamineWeight, std::string(kOff));
    settings.set(Setting::AddPrediction, std::string(kOff));
    RunRequest run;
    run.data = &masked;
    run.species = request.species;
    run.sourceWritable = false;
    run.missvalue = request.missvalue;
    run.calculationDate = request.calculationDate;
    LogList log;
    MessageList messages;  // what a masked run would have shown in a message box
    Engine engine;  // a generator of its own, seeded as at start-up
    MaskedRun out;
    out.result = engine.run(run, {settings, log, messages, feedback});
    out.log = std::move(log.lines);
    out.messages = messages.take();
    return out;
}

HindcastFigures scoreRegions(const std::vector<HindcastRegion>& regions) {
    HindcastFigures figures;
    std::vector<double> laterPredicted, laterRecorded, notPredicted, laterDistance, distanceRecorded, notDistance;
    for (const HindcastRegion& r : regions) {
        const bool later = r.kind == HindcastClass::ReachedLater;
        ++(later ? figures.reachedLater : figures.notReached);
        if (r.predicted) (later ? laterPredicted : notPredicted).push_back(*r.predicted);
        if (later && r.predicted) laterRecorded.push_back(*r.recorded);
        if (r.distance) (later ? laterDistance : notDistance).push_back(*r.distance);
        if (later && r.distance) distanceRecorded.push_back(*r.recorded);
    }
    // An unpredictable target has no predicted date: these three are then nothing.
    figures.auc = orderedPairShare(laterPredicted, notPredicted);
    figures.spearman = spearman(laterPredicted, laterRecorded);
    figures.mae = meanAbsoluteDifference(laterPredicted, laterRecorded);
    figures.distanceAuc = orderedPairShare(laterDistance, notDistance);
    figures.distanceSpearman = spearman(laterDistance, distanceRecorded);
    return figures;
}

HindcastYear hindcastYear(const HindcastRequest& request, const RegionCentres& centres, double year,
                          Feedback& feedback) {
    HindcastYear out;
    out.year = year;
    MaskedRun masked = runMasked(request, year, feedback);
    const RunResult& run = masked.result;
    if (run.status == RunStatus::Cancelled) throw Cancelled{};
    if (run.status != RunStatus::Completed || run.target < 0) {
        out.error = masked.messages.empty() ? std::string("The run stopped") : masked.messages.back();
        return out;
    }
    out.ran = true;
    const SpeciesOutcome& target = run.species[static_cast<std::size_t>(run.target)];
    out.targetName = run.speciesNames[static_cast<std::size_t>(run.target)];
    out.regions = scoredRegions(*request.data, centres,
                                {out.targetName, run.regno, target.fit.predictable, target.predicted}, year);
    out.figures = scoreRegions(out.regions);
    return out;
}

std::vector<HindcastYear> runHindcast(const HindcastRequest& request, const std::vector<double>& years,
                                      Feedback& feedback) {
    if (request.data == nullptr) throw RunError("No complete data set is loaded");
    if (!isSpecies(request.species, request.settings.get(Setting::TargetSpecies)))
        throw RunError("A hindcast needs a target species among the species analysed");
    const RegionCentres centres = regionCentres(*request.data);  // the same in every year
    std::vector<HindcastYear> out;
    const auto total = static_cast<long long>(years.size());
    for (double year : years) {
        feedback.progress(ProgressStage::Hindcasts, static_cast<long long>(out.size()), total);
        out.push_back(hindcastYear(request, centres, year, feedback));
    }
    feedback.progress(ProgressStage::Hindcasts, total, total);
    return out;
}

}  // namespace el::engine
