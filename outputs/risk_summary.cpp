#include "outputs/risk_summary.hpp"

namespace el::engine {
namespace {

using Json = nlohmann::ordered_json;

Json figure(const RiskFigure& f) { return f.value ? Json(*f.value) : Json(nullptr); }

// The reasons of the figures that have none, by key; an empty object when every figure is there.
Json reasons(const std::vector<std::pair<const char*, const RiskFigure*>>& figures) {
    Json out = Json::object();
    for (const auto& [key, f] : figures)
        if (!f->value) out[key] = f->reason;
    return out;
}

Json coefficients(const std::optional<RiskModel>& model) {
    if (!model) return nullptr;
    Json out = Json::object();
    for (std::size_t i = 0; i < model->terms.size() && i < model->coefficients.size(); ++i)
        out[model->terms[i]] = model->coefficients[i];
    return out;
}

Json reliability(const std::vector<ReliabilityBin>& bins) {
    Json out = Json::array();
    for (const ReliabilityBin& bin : bins)
        out.push_back({{"regions", bin.regions},
                       {"lowest", bin.lowest},
                       {"highest", bin.highest},
                       {"mean_risk", bin.meanRisk},
                       {"observed", bin.observed}});
    return out;
}

Json checkObject(const RiskCheck& check) {
    Json out;
    out["cutoff"] = check.cutoff;
    out["up_to"] = check.upTo;
    out["coefficients"] = coefficients(check.model);
    out["base_rate"] = figure(check.baseRate);
    out["reason"] = check.reason.empty() ? Json(nullptr) : Json(check.reason);
    if (!check.figures) return out;
    const CheckFigures& f = *check.figures;
    out["species"] = f.species;
    out["regions"] = f.regions;
    out["arrivals"] = f.arrivals;
    out["predicted_arrivals"] = f.predictedArrivals;
    const std::vector<std::pair<const char*, const RiskFigure*>> figures{
        {"auc", &f.auc},
        {"pooled_auc", &f.pooledAuc},
        {"score_auc", &f.scoreAuc},
        {"distance_auc", &f.distanceAuc},
        {"brier", &f.brier},
        {"base_brier", &f.baseBrier},
        {"bss", &f.brierSkill},
        {"calibration_slope", &f.calibrationSlope},
        {"calibration_intercept", &f.calibrationIntercept},
        {"predicted_to_observed", &f.predictedToObserved}};
    for (const auto& [key, value] : figures) out[key] = figure(*value);
    out["calibration_converged"] = f.calibrationConverged;
    out["reliability"] = reliability(f.reliability);
    out["reasons"] = reasons(figures);
    return out;
}

}  // namespace

Json riskSummaryObject(const RiskResult& risk) {
    Json out;
    out["horizon"] = risk.horizon;
    out["as_of"] = risk.asOf;
    out["coefficients"] = coefficients(risk.model);
    out["converged"] = risk.model ? Json(risk.model->converged) : Json(nullptr);
    out["base_rate"] = figure(risk.check.baseRate);
    out["distance_used"] = risk.distanceUsed;
    out["regions"] = risk.regions.size();
    out["reason"] = risk.riskReason.empty() ? Json(nullptr) : Json(risk.riskReason);
    out["notes"] = risk.notes;
    out["check"] = checkObject(risk.check);
    out["sentences"] = risk.sentences;
    return out;
}

}  // namespace el::engine
