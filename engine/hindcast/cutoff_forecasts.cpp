#include "engine/hindcast/cutoff_forecasts.hpp"

#include <utility>

#include "engine/kernels/early_late_rows.hpp"
#include "engine/kernels/eigenvector.hpp"
#include "engine/kernels/relations.hpp"
#include "engine/kernels/species_pairs.hpp"
#include "engine/model/run_error.hpp"
#include "engine/pass/packed_matrix.hpp"
#include "engine/pass/pass_frames.hpp"
#include "engine/pass/power_pass.hpp"
#include "engine/pass/region_score.hpp"
#include "engine/pass/weights.hpp"

namespace el::engine {
namespace {

constexpr const char* kNotConnected = "There are less-connective regions";

// Every date after the year reads "NotYetArrived", as in data masked before they are read.
void maskAfter(StatusMatrix& status, double year) {
    for (Status& cell : status.cell)
        if (cell.kind == StatusKind::Date && cell.date > year) cell = Status{StatusKind::NotYetArrived, 0};
}

// The target's column after its split, with the codes the comparison needs.
struct TargetColumn {
    std::vector<Status> actual;  // before the split
    std::vector<Status> shown;   // after it
    SpeciesCodes codes;          // of `shown`, as one species
};

TargetColumn targetColumn(const StatusMatrix& status, int target, int keep) {
    TargetColumn column;
    for (int i = 0; i < status.regions; ++i) column.actual.push_back(status.statusAt(i, target));
    column.shown = splitColumn(column.actual, keep);
    StatusMatrix one;
    one.regions = status.regions;
    one.species = 1;
    one.cell = column.shown;
    column.codes = speciesCodes(one);
    return column;
}

// regionviable with the target left out.
std::vector<int> viableWithout(const std::vector<int>& all, const SpeciesCodes& codes, int target) {
    std::vector<int> own(all.size(), 0);
    addRegionViable(codes, target, own);
    std::vector<int> out(all.size());
    for (std::size_t i = 0; i < all.size(); ++i) out[i] = all[i] - own[i];
    return out;
}

// Exclusion as a run makes it: not in a run with trials, which switch it off.
bool excludes(const SettingsSource& settings) {
    return isOn(settings, Setting::ExcludeLimited) && !isOn(settings, Setting::DoReliability);
}

// The regions used and their scores from the packed codes; false when not connected.
bool scoreFromCodes(const std::shared_ptr<const PackedCodes>& packed, const PackedWeights& weights,
                    const std::vector<int>& viable, const UsedRegions& all, const SettingsSource& settings,
                    Feedback& feedback, UsedRegions& used, std::vector<double>& score) {
    used = all;
    std::vector<int> keep = used.regno;
    if (excludes(settings)) {
        keep = keptPositions(used, viable, settings, feedback);
        keepPositions(used, keep);
        if (used.size() == 0) throw RunError("No region is left to analyse");
    }
    auto codes = static_cast<int>(keep.size()) == packed->regions
                     ? packed
                     : std::make_shared<const PackedCodes>(keptCodes(*packed, keep));
    const auto frame = makeFrame(std::move(codes), weights, 1, feedback);
    if (frame->failedStart) return false;
    SquareMatrix M;
    filledMatrix(*frame, weights, fillModeOf(settings.setting(Setting::MissingMode)), 1, M);
    PowerIteration power;
    power.eigenvector(M, score, feedback, weights.bounded);
    return true;
}

// The same from the status matrix, for weights the packed build does not take.
bool scorePlainly(const StatusMatrix& status, const std::vector<double>& weight, int target,
                  const std::vector<int>& viable, const UsedRegions& all, const SettingsSource& settings,
                  Feedback& feedback, UsedRegions& used, std::vector<double>& score) {
    EarlyLateMatrix el = buildEarlyLateMatrix(status, weight, target);
    used = all;
    if (excludes(settings)) {
        excludeRegions(el.M, el.W, used, viable, settings, feedback);
        if (used.size() == 0) throw RunError("No region is left to analyse");
    }
    if (testConnectivity(el.W, feedback).failedStart) return false;
    fillMissingCells(el.M, el.W, fillModeOf(settings.setting(Setting::MissingMode)));
    PowerIteration power;
    power.eigenvector(el.M, score, feedback);
    return true;
}

}  // namespace

CutoffForecasts::CutoffForecasts(const vec::VectorData& data, const std::vector<std::string>& species,
                                 const std::string& missvalue, std::optional<double> year, int threads,
                                 Messenger& messenger, Feedback& feedback) {
    if (!data.consistent()) throw RunError("No complete data set is loaded");
    table_ = buildSpeciesTable(data, species, "");
    status_ = buildStatusMatrix(data, table_, missvalue, messenger, feedback);
    status_.text = {};  // only the numbers are read
    if (year) maskAfter(status_, *year);
    codes_ = std::make_shared<const SpeciesCodes>(speciesCodes(status_));
    packed_ = std::make_shared<const PackedCodes>(packCodes(*codes_, threads));
    viableAll_ = regionViable(*codes_, -1);
    for (const auto& object : data.objects) regionNames_.push_back(object.name);
}

std::optional<int> CutoffForecasts::targetNamed(const std::string& name) const {
    std::optional<int> target;
    for (int s = 0; s < table_.size(); ++s)
        if (table_.name[static_cast<std::size_t>(s)] == name) target = s;
    return target;
}

TargetForecast CutoffForecasts::forecast(int target, SettingValues settings, Feedback& feedback) const {
    TargetForecast out;
    try {
        score(target, settings, feedback, out);
    } catch (const RunError& error) {
        out.error = error.what();
    }
    return out;
}

// The steps of a run from the split to the fit, in the run's order, each setting read where
// the run reads it.
void CutoffForecasts::score(int target, const SettingValues& given, Feedback& feedback, TargetForecast& out) const {
    SettingValues settings = given;
    const TargetColumn column = targetColumn(status_, target, readTrainingCount(status_.regions, settings));
    const double p1 = numberOrRunError(settings.setting(Setting::WeightPower), "weight power");
    const double p2 = numberOrRunError(settings.setting(Setting::SampleN), "sample power");
    const PairCounts counts = countsWith(*codes_, column.codes, 0, 1, feedback);
    const SpeciesWeights weights =
        weightsFromCounts(WeightMode::Target, &counts, nullptr, table_.name, target, p1, p2, feedback);
    if (status_.regions == 0) throw RunError("There is no region to analyse");

    const std::vector<int> viable = viableWithout(viableAll_, *codes_, target);
    const UsedRegions all = allRegions(regionNames_);
    UsedRegions used;
    std::vector<double> score;
    const auto packed = packedWeights(weights.weight, target, packed_->planes);
    const bool connected =
        packed ? scoreFromCodes(packed_, *packed, viable, all, settings, feedback, used, score)
               : scorePlainly(status_, weights.weight, target, viable, all, settings, feedback, used, score);
    if (!connected) {
        out.error = kNotConnected;
        return;
    }
    out.completed = true;
    out.regno = std::move(used.regno);
    out.fit = fitRegions({column.shown.data(), 1}, &column.actual, out.regno, score);
    if (out.fit.predictable)
        for (double v : score) out.predicted.push_back(out.fit.a * v + out.fit.b);
    out.score = std::move(score);
}

}  // namespace el::engine
