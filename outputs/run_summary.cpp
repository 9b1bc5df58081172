#include "outputs/run_summary.hpp"

#include <nlohmann/json.hpp>

#include "engine/hindcast/hindcast_columns.hpp"
#include "engine/run/skill.hpp"
#include "outputs/risk_summary.hpp"

namespace el::engine {
namespace {

using Json = nlohmann::ordered_json;

Json number(const std::optional<double>& value) { return value ? Json(*value) : Json(nullptr); }
Json coefficient(double r) { return r == kNotComputable ? Json(nullptr) : Json(r); }

std::string key(const HindcastColumn& column) { return std::string(column.name); }
std::string key(HindcastFigure figure) { return key(hindcastColumn(figure)); }

Json settingsObject(const SettingsSource& settings) {
    Json object = Json::object();
    for (const SettingInfo& info : settingTable()) object[std::string(info.name)] = settings.setting(info.id);
    return object;
}

Json speciesObject(const RunResult& result, std::size_t j) {
    const SpeciesOutcome& species = result.species[j];
    const SpeciesFit& fit = species.fit;
    const bool target = static_cast<int>(j) == result.target;
    Json object;
    object["name"] = result.speciesNames[j];
    object["target"] = target;
    object["predictable"] = fit.predictable;
    object["a"] = fit.a;
    object["b"] = fit.b;
    object["r_training"] = coefficient(fit.rt);
    object["n_training"] = fit.nt;
    // Only the target has validation regions; for the others these are not measures of anything.
    object["r_validation"] = target ? coefficient(fit.rv) : Json(nullptr);
    object["n_validation"] = target ? Json(fit.nv) : Json(nullptr);
    object["r_all"] = target ? coefficient(fit.rw) : Json(nullptr);
    object["n_all"] = target ? Json(fit.nt + fit.nv) : Json(nullptr);
    object["trial_sd_date"] = result.trials.ran ? Json(species.scale * result.trials.vectorshift) : Json(nullptr);
    return object;
}

// One hindcast's figures at one cut-off year (and of one species, where given); counts are
// null where the masked run stopped.
Json hindcastEntry(double year, const std::string* species, bool ran, const HindcastFigures& f,
                   const std::string& error) {
    Json entry;
    entry[key(kHindcastYearColumn)] = year;
    if (species != nullptr) entry[key(kHindcastSpeciesColumn)] = *species;
    using enum HindcastFigure;
    entry[key(ReachedLater)] = ran ? Json(f.reachedLater) : Json(nullptr);
    entry[key(NotReached)] = ran ? Json(f.notReached) : Json(nullptr);
    entry[key(Auc)] = number(f.auc);
    entry[key(Spearman)] = number(f.spearman);
    entry[key(Mae)] = number(f.mae);
    entry[key(DistanceAuc)] = number(f.distanceAuc);
    entry[key(DistanceSpearman)] = number(f.distanceSpearman);
    if (!ran) entry["error"] = error;
    return entry;
}

Json hindcastArray(const std::vector<HindcastYear>& years) {
    Json array = Json::array();
    for (const HindcastYear& y : years) array.push_back(hindcastEntry(y.year, nullptr, y.ran, y.figures, y.error));
    return array;
}

// The target's skill; null without a target or without the data set.
Json skillObject(const RunSummaryInput& input) {
    if (input.data == nullptr) return nullptr;
    const auto skill = targetSkill(*input.data, input.result);
    if (!skill) return nullptr;
    Json object;
    object["r_training"] = number(skill->rTraining);
    object["no_skill"] = skill->noSkill;
    object["latest_date"] = number(skill->latestDate);
    object["overdue"] = skill->overdue ? Json(*skill->overdue) : Json(nullptr);
    object["overdue_share"] = number(skill->overdueShare);
    return object;
}

Json spreadObject(const FigureSpread& spread) {
    return {{"mean", number(spread.mean)}, {"sd", number(spread.sd)}};
}

Json allSpeciesRows(const AllSpeciesHindcast& hindcast) {
    Json rows = Json::array();
    for (const SpeciesHindcast& row : hindcast.rows)
        rows.push_back(hindcastEntry(row.year, &row.species, row.ran, row.figures, row.error));
    return rows;
}

Json allSpeciesYears(const AllSpeciesHindcast& hindcast) {
    Json years = Json::array();
    for (const HindcastYearSpread& y : hindcast.years) {
        Json entry;
        entry[key(kHindcastYearColumn)] = y.year;
        entry[key(kHindcastSpeciesColumn)] = y.species;
        using enum HindcastFigure;
        entry[key(ReachedLater)] = spreadObject(y.reachedLater);
        entry[key(NotReached)] = spreadObject(y.notReached);
        entry[key(Auc)] = spreadObject(y.auc);
        entry[key(Spearman)] = spreadObject(y.spearman);
        entry[key(Mae)] = spreadObject(y.mae);
        entry[key(DistanceAuc)] = spreadObject(y.distanceAuc);
        entry[key(DistanceSpearman)] = spreadObject(y.distanceSpearman);
        entry["auc_beats_distance"] = number(y.aucBeatsDistance);
        years.push_back(std::move(entry));
    }
    return years;
}

}  // namespace

std::string runSummaryJson(const RunSummaryInput& input) {
    const RunResult& result = input.result;
    Json root;
    root["version"] = input.version;
    root["input"] = {{"file", input.inputFile}, {"sha256", input.sha256 ? Json(*input.sha256) : Json(nullptr)}};
    root["calculation_date"] = input.calculationDate;
    root["settings"] = settingsObject(input.settings);
    root["counts"] = {{"regions", result.regionNames.size()},
                      {"regions_used", result.regno.size()},
                      {"species", result.speciesNames.size()}};
    root["target"] = result.target >= 0 ? Json(result.speciesNames[static_cast<std::size_t>(result.target)]) : Json(nullptr);
    root["examine_weight"] = result.examinedWeights;
    Json species = Json::array();
    for (std::size_t j = 0; j < result.species.size(); ++j) species.push_back(speciesObject(result, j));
    root["species"] = std::move(species);
    root["trials"] = {{"ran", result.trials.ran},
                      {"mean_sd", result.trials.ran ? Json(result.trials.vectorshift) : Json(nullptr)}};
    root["converged"] = result.scoreIteration.converged;
    root["power_iterations"] = result.scoreIteration.iterations;
    root["skill"] = skillObject(input);
    root["run_seconds"] = input.runSeconds;
    if (input.hindcast) root["hindcast"] = hindcastArray(*input.hindcast);
    if (input.hindcastAll)
        root["hindcast_all"] = {{"years", allSpeciesYears(*input.hindcastAll)}, {"species", allSpeciesRows(*input.hindcastAll)}};
    if (input.risk) root["risk"] = riskSummaryObject(*input.risk);
    return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace el::engine
