// el_forecast(), el_examine_weight() and el_hindcast(): one run of the engine on a data
// frame, driven as the batch runner drives it, its log kept line for line.

#include <Rcpp.h>

#include "base/log_sink.hpp"
#include "base/numtext.hpp"
#include "base/text.hpp"
#include "engine/hindcast/hindcast_all.hpp"
#include "engine/hindcast/hindcast_report.hpp"
#include "engine/model/run_error.hpp"
#include "engine/run/engine.hpp"
#include "frame_output.hpp"
#include "ops/examine_weight.hpp"
#include "ops/forecast.hpp"
#include "ops/hindcast.hpp"
#include "outputs/prediction_table.hpp"
#include "outputs/risk_column.hpp"
#include "run_output.hpp"
#include "run_prepare.hpp"
#include "run_risk.hpp"

namespace {

using namespace el;
using namespace el::rpkg;

// What the R side turns into an R error with the tool's text.
Rcpp::List failure(const std::string& text, const std::vector<std::string>& log) {
    return Rcpp::List::create(Rcpp::Named("error") = utf8Vector({text}), Rcpp::Named("log") = utf8Vector(log));
}

std::vector<std::string> allMessages(PreparedRun& run, MessageList& messages) {
    std::vector<std::string> all = run.readMessages;
    for (std::string& text : messages.take()) all.push_back(std::move(text));
    return all;
}

Rcpp::List completed(PreparedRun& run, const engine::RunResult& result, const LogList& log, MessageList& messages,
                     double seconds, const std::optional<engine::RiskResult>& risk) {
    engine::PredictionTable regions = engine::predictionTable(run.data, result, kMissValue);
    if (risk) engine::addRiskColumn(regions, *risk);
    Rcpp::List out = Rcpp::List::create(
        Rcpp::Named("log") = utf8Vector(log.lines), Rcpp::Named("regions") = listOfTable(regions),
        Rcpp::Named("species") = speciesColumns(result), Rcpp::Named("weights") = weightColumns(result),
        Rcpp::Named("settings") = settingsVector(run.settings), Rcpp::Named("date") = run.date,
        Rcpp::Named("messages") = utf8Vector(allMessages(run, messages)),
        Rcpp::Named("ignored") = utf8Vector(run.ignored), Rcpp::Named("seconds") = seconds,
        Rcpp::Named("warnings") = diagnosticVector(run.warnings));
    if (result.examinedWeights) out["grid"] = gridColumns(result);
    if (risk) out["risk"] = riskList(*risk);
    return out;
}

Rcpp::List forecast(PreparedRun& run, const std::string& workDir, const RiskAsked& riskAsked, RFeedback& feedback) {
    ops::ForecastRequest forecast;
    forecast.data = &run.data;
    forecast.species = run.species;
    forecast.source = run.settings.get(Setting::DataFileName);
    forecast.unwritableSource = "a GIS file";  // as the engine names any source it cannot write into
    forecast.missvalue = kMissValue;
    forecast.calculationDate = run.date;
    forecast.workFolder = workDir;
    LogList log;
    MessageList messages;
    engine::Engine engine;
    const SettingValues given = run.settings;  // the risk's early-late runs start from the settings as given
    const engine::RunHooks hooks{run.settings, log, messages, feedback};
    const ops::ForecastResult made = ops::examinesWeight(run.settings) ? ops::examineWeight(engine, forecast, hooks)
                                                                       : ops::forecast(engine, forecast, hooks);
    const engine::RunResult& result = made.run;
    if (result.status == engine::RunStatus::Cancelled) raiseInterrupt();
    if (result.status != engine::RunStatus::Completed) {
        Rcpp::List out = failure(joined(messages.take(), "The run stopped"), log.lines);
        out["warnings"] = diagnosticVector(run.warnings);
        return out;
    }
    std::vector<std::string> riskMessages;
    const auto risk =
        result.examinedWeights ? std::nullopt : targetRisk(riskAsked, run, given, result, feedback, riskMessages);
    for (const std::string& text : riskMessages) messages.message(text);
    return completed(run, result, log, messages, made.seconds, risk);
}

RunInput runInput(Rcpp::CharacterVector names, Rcpp::List columns, SEXP geometry, Rcpp::List settings, SEXP species,
                  const std::string& fileName) {
    return {names, columns, geometry, settings, species, fileName};
}

ops::HindcastRequest hindcastRequest(const PreparedRun& run, const std::vector<double>& years) {
    ops::HindcastRequest request;
    request.data = &run.data;
    request.species = run.species;
    request.missvalue = kMissValue;
    request.calculationDate = run.date;
    request.settings = run.settings;
    request.years = years;
    return request;
}

// The first refusal of `request` as the error R raises, `prefix` before a candidate's name.
void refuseAsError(const ops::HindcastRequest& request, const std::string& prefix) {
    const ops::Diagnostics checked = ops::checkHindcast(request);
    const ops::Diagnostic* refusal = ops::firstRefusal(checked);
    if (!refusal) return;
    throw ToolError((refusal->kind == ops::DiagnosticKind::UnknownTarget ? prefix : "") + refusal->text);
}

Rcpp::List hindcast(PreparedRun& run, const std::vector<double>& years, RFeedback& feedback) {
    const ops::HindcastRequest request = hindcastRequest(run, years);
    refuseAsError(request, "");
    std::vector<engine::HindcastYear> figures;
    try {
        figures = ops::hindcast(request, feedback).years;
    } catch (const engine::RunError& e) {
        throw ToolError(e.what());
    }
    return Rcpp::List::create(Rcpp::Named("table") = hindcastColumns(figures),
                              Rcpp::Named("log") = utf8Vector(engine::hindcastLines(figures)),
                              Rcpp::Named("ignored") = utf8Vector(run.ignored),
                              Rcpp::Named("warnings") = diagnosticVector(run.warnings));
}

Rcpp::List hindcastAll(PreparedRun& run, const std::vector<double>& years, const std::string& targets,
                       const std::vector<int>& rules, RFeedback& feedback) {
    ops::HindcastRequest request = hindcastRequest(run, years);
    request.targetYears = false;
    request.targets = targets == "all" ? std::vector<std::string>{"all"} : splitAtCommas(targets);
    if (rules.size() == 3) request.rules = {rules[0], rules[1], rules[2]};
    refuseAsError(request, "targets: ");
    engine::AllSpeciesHindcast out;
    try {
        out = *ops::hindcast(request, feedback).all;
    } catch (const engine::RunError& e) {
        throw ToolError(std::string("targets: ") + e.what());
    }
    std::vector<std::string> messages;
    for (const engine::SpeciesHindcast& row : out.rows)
        if (!row.ran) messages.push_back("The hindcast of " + row.species + " for " + decimalnum(row.year) + " stopped: " + row.error);
    return Rcpp::List::create(Rcpp::Named("table") = listOfTable(engine::allSpeciesTable(out)),
                              Rcpp::Named("years") = hindcastSpreadColumns(out.years),
                              Rcpp::Named("messages") = utf8Vector(messages),
                              Rcpp::Named("ignored") = utf8Vector(run.ignored));
}

}  // namespace

// [[Rcpp::export(rng = false)]]
Rcpp::List el_run_cpp(Rcpp::CharacterVector names, Rcpp::List columns, SEXP geometry, Rcpp::List settings, SEXP species,
                      std::string fileName, bool examine, std::string workDir, Rcpp::List risk) {
    RFeedback feedback;
    try {
        const RiskAsked riskAsked = riskAskedOf(risk);
        PreparedRun run = prepareRun(runInput(names, columns, geometry, settings, species, fileName), feedback);
        run.settings.set(Setting::ExamineWeight, std::string(examine ? kOn : kOff));
        run.settings.set(Setting::AddPrediction, std::string(kOff));  // nothing is written back from R
        return forecast(run, workDir, riskAsked, feedback);
    } catch (const ToolError& e) {
        return failure(e.what(), {});
    } catch (const Cancelled&) {
        raiseInterrupt();
    }
}

// [[Rcpp::export(rng = false)]]
Rcpp::List el_hindcast_cpp(Rcpp::CharacterVector names, Rcpp::List columns, SEXP geometry, Rcpp::List settings,
                           SEXP species, std::string fileName, std::vector<double> years) {
    RFeedback feedback;
    try {
        PreparedRun run = prepareRun(runInput(names, columns, geometry, settings, species, fileName), feedback);
        return hindcast(run, years, feedback);
    } catch (const ToolError& e) {
        return failure(e.what(), {});
    } catch (const Cancelled&) {
        raiseInterrupt();
    }
}

// [[Rcpp::export(rng = false)]]
Rcpp::List el_hindcast_all_cpp(Rcpp::CharacterVector names, Rcpp::List columns, SEXP geometry, Rcpp::List settings,
                               SEXP species, std::string fileName, std::vector<double> years, std::string targets,
                               std::vector<int> rules) {
    RFeedback feedback;
    try {
        PreparedRun run = prepareRun(runInput(names, columns, geometry, settings, species, fileName), feedback);
        return hindcastAll(run, years, targets, rules, feedback);
    } catch (const ToolError& e) {
        return failure(e.what(), {});
    } catch (const Cancelled&) {
        raiseInterrupt();
    }
}
