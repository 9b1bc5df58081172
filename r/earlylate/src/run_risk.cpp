#include "run_risk.hpp"

#include <cmath>
#include <utility>

#include "base/numtext.hpp"
#include "engine/model/run_error.hpp"
#include "engine/risk/risk.hpp"
#include "frame_output.hpp"

namespace el::rpkg {
namespace {

std::optional<double> numberOf(const Rcpp::List& list, const char* name) {
    if (!list.containsElementNamed(name)) return std::nullopt;
    SEXP value = list[name];
    if (Rf_isNull(value)) return std::nullopt;
    if (!Rf_isNumeric(value) || Rf_length(value) != 1) throw ToolError(std::string(name) + " must be one number");
    const double number = Rcpp::as<double>(value);
    if (!std::isfinite(number)) throw ToolError(std::string(name) + " must be one number, not " + plainnum(number));
    return number;
}

double orNa(const std::optional<double>& value) { return value ? *value : NA_REAL; }
double orNa(const engine::RiskFigure& figure) { return orNa(figure.value); }
SEXP textOrNa(const std::string& text) {
    return text.empty() ? Rcpp::CharacterVector::create(NA_STRING) : utf8Vector({text});
}

SEXP coefficients(const std::optional<engine::RiskModel>& model) {
    if (!model) return R_NilValue;
    Rcpp::NumericVector out(model->coefficients.begin(), model->coefficients.end());
    out.names() = utf8Vector(model->terms);
    return out;
}

Rcpp::List reliability(const std::vector<engine::ReliabilityBin>& bins) {
    const auto n = static_cast<R_xlen_t>(bins.size());
    Rcpp::IntegerVector regions(n);
    Rcpp::NumericVector lowest(n), highest(n), meanRisk(n), observed(n);
    for (R_xlen_t i = 0; i < n; ++i) {
        const engine::ReliabilityBin& bin = bins[static_cast<std::size_t>(i)];
        regions[i] = bin.regions, lowest[i] = bin.lowest, highest[i] = bin.highest;
        meanRisk[i] = bin.meanRisk, observed[i] = bin.observed;
    }
    return Rcpp::List::create(Rcpp::Named("regions") = regions, Rcpp::Named("lowest") = lowest,
                              Rcpp::Named("highest") = highest, Rcpp::Named("mean_risk") = meanRisk,
                              Rcpp::Named("observed") = observed);
}

// The figures of a check, with the reason of each one that has no value.
void addFigures(Rcpp::List& out, const engine::CheckFigures& f) {
    out["species"] = f.species;
    out["regions"] = f.regions;
    out["arrivals"] = f.arrivals;
    out["predicted_arrivals"] = f.predictedArrivals;
    const std::vector<std::pair<const char*, const engine::RiskFigure*>> figures{
        {"auc", &f.auc},         {"pooled_auc", &f.pooledAuc},
        {"score_auc", &f.scoreAuc}, {"distance_auc", &f.distanceAuc},
        {"brier", &f.brier},     {"base_brier", &f.baseBrier},
        {"bss", &f.brierSkill},  {"calibration_slope", &f.calibrationSlope},
        {"calibration_intercept", &f.calibrationIntercept}, {"predicted_to_observed", &f.predictedToObserved}};
    std::vector<std::string> missing, reasons;
    for (const auto& [key, figure] : figures) {
        out[key] = orNa(*figure);
        if (!figure->value) missing.emplace_back(key), reasons.push_back(figure->reason);
    }
    out["calibration_converged"] = f.calibrationConverged;
    out["reliability"] = reliability(f.reliability);
    Rcpp::CharacterVector why = utf8Vector(reasons);
    why.names() = utf8Vector(missing);
    out["reasons"] = why;
}

Rcpp::List checkList(const engine::RiskCheck& check) {
    Rcpp::List out = Rcpp::List::create(Rcpp::Named("cutoff") = check.cutoff, Rcpp::Named("up_to") = check.upTo,
                                        Rcpp::Named("coefficients") = coefficients(check.model),
                                        Rcpp::Named("base_rate") = orNa(check.baseRate),
                                        Rcpp::Named("reason") = textOrNa(check.reason));
    if (check.figures) addFigures(out, *check.figures);
    return out;
}

}  // namespace

RiskAsked riskAskedOf(const Rcpp::List& risk) {
    RiskAsked asked{numberOf(risk, "risk_horizon"), numberOf(risk, "as_of")};
    if (asked.horizon && *asked.horizon <= 0)
        throw ToolError("risk_horizon must be a number of years above 0, not " + plainnum(*asked.horizon));
    if (asked.asOf && !asked.horizon) throw ToolError("as_of needs risk_horizon");
    return asked;
}

std::optional<engine::RiskResult> targetRisk(const RiskAsked& asked, const PreparedRun& run, const SettingValues& given,
                                             const engine::RunResult& result, RFeedback& feedback,
                                             std::vector<std::string>& messages) {
    if (!asked.horizon || result.target < 0) return std::nullopt;
    engine::RiskRequest request;
    request.basis.data = &run.data;
    request.basis.species = result.speciesNames;
    request.basis.horizon = *asked.horizon;
    request.basis.missvalue = kMissValue;
    request.basis.calculationDate = run.date;
    request.basis.settings = given;
    request.basis.threads = threadCountOf(given.get(Setting::Threads)).value_or(1);
    request.target = result.speciesNames[static_cast<std::size_t>(result.target)];
    request.asOf = asked.asOf;
    try {
        engine::RiskResult risk = engine::computeRisk(request, feedback);
        for (const std::string& note : risk.notes) messages.push_back("The risk of " + risk.target + ": " + note);
        if (risk.regions.empty() && !risk.riskReason.empty())
            messages.push_back("No risk for " + risk.target + ": " + risk.riskReason);
        return risk;
    } catch (const engine::RunError& error) {
        messages.push_back(std::string("The risk of a first record cannot be made: ") + error.what());
        return std::nullopt;
    }
}

Rcpp::List riskList(const engine::RiskResult& risk) {
    return Rcpp::List::create(
        Rcpp::Named("horizon") = risk.horizon, Rcpp::Named("as_of") = risk.asOf,
        Rcpp::Named("coefficients") = coefficients(risk.model),
        Rcpp::Named("converged") = risk.model ? Rcpp::LogicalVector::create(risk.model->converged)
                                              : Rcpp::LogicalVector::create(NA_LOGICAL),
        Rcpp::Named("base_rate") = orNa(risk.check.baseRate), Rcpp::Named("distance_used") = risk.distanceUsed,
        Rcpp::Named("regions") = static_cast<int>(risk.regions.size()),
        Rcpp::Named("reason") = textOrNa(risk.riskReason), Rcpp::Named("notes") = utf8Vector(risk.notes),
        Rcpp::Named("check") = checkList(risk.check), Rcpp::Named("sentences") = utf8Vector(risk.sentences));
}

}  // namespace el::rpkg
