#include "cli/after_run.hpp"

#include "base/numtext.hpp"
#include "base/settings.hpp"
#include "cli/batch_options.hpp"
#include "cli/risk_outputs.hpp"
#include "engine/hindcast/hindcast.hpp"
#include "engine/hindcast/hindcast_report.hpp"
#include "ops/table_files.hpp"
#include "outputs/risk_column.hpp"

namespace el::batch {
namespace {

engine::HindcastRequest hindcastRequest(const AfterRunContext& run) {
    engine::HindcastRequest hindcast;
    hindcast.data = &run.data;
    hindcast.species = run.result.speciesNames;
    hindcast.missvalue = kMissValue;
    hindcast.calculationDate = run.calculationDate;
    hindcast.settings = run.given;
    return hindcast;
}

// The hindcast over the candidates, on every thread the settings allow.
engine::AllSpeciesHindcast allSpecies(const AfterRunRequest& request, const AfterRunContext& run, Feedback& feedback,
                                      std::vector<std::string>& failures) {
    engine::AllSpeciesRequest all;
    all.base = hindcastRequest(run);
    all.targets = request.hindcastTargets;
    all.years = request.hindcastYears;
    all.rules = request.hindcastRules;
    all.threads = threadCountOf(run.given.get(Setting::Threads)).value_or(1);
    engine::AllSpeciesHindcast out = engine::runAllSpeciesHindcast(all, feedback);
    for (const engine::SpeciesHindcast& row : out.rows)
        if (!row.ran)
            failures.push_back("The hindcast of " + row.species + " for" + strnum(row.year) + " stopped: " + row.error);
    return out;
}

std::vector<engine::HindcastYear> hindcast(const AfterRunRequest& request, const AfterRunContext& run, LogSink& log,
                                           Feedback& feedback, std::vector<std::string>& failures) {
    std::vector<engine::HindcastYear> years = engine::runHindcast(hindcastRequest(run), request.hindcastYears, feedback);
    for (const std::string& line : engine::hindcastLines(years)) log.appendLog(line);
    for (const engine::HindcastYear& year : years)
        if (!year.ran) failures.push_back("The hindcast for" + strnum(year.year) + " stopped: " + year.error);
    return years;
}

}  // namespace

AfterRunOutputs makeAfterRunOutputs(const AfterRunRequest& request, const AfterRunContext& run, LogSink& log,
                                    Feedback& feedback) {
    AfterRunOutputs made;
    std::vector<std::string>& failures = made.failures;
    RiskMade risk;
    makeTargetRisk(request.risk, run, feedback, risk);
    if (!request.predictionsFile.empty()) {
        engine::PredictionTable table = engine::predictionTable(run.data, run.result, kMissValue);
        if (risk.target) engine::addRiskColumn(table, *risk.target);
        if (auto failure = ops::writePredictionsFile(request.predictionsFile, table, run.data)) failures.push_back(*failure);
    }
    std::vector<engine::HindcastYear>& years = made.hindcast;
    const bool targetBlock = !request.hindcastYears.empty() && request.targetHindcast;
    if (targetBlock) years = hindcast(request, run, log, feedback, failures);
    std::optional<engine::AllSpeciesHindcast>& all = made.allSpecies;
    if (!request.hindcastYears.empty() && !request.hindcastTargets.empty())
        all = allSpecies(request, run, feedback, failures);
    if (request.risk.hindcastRisk(!request.hindcastYears.empty()))
        makeHindcastRisk(request.risk, run, hindcastCases(all, request.hindcastYears, run.result), feedback, risk);
    if (all && !request.hindcastTable.empty()) {
        engine::PredictionTable table = engine::allSpeciesTable(*all);
        if (risk.hindcast) addRiskFigures(table, *risk.hindcast);
        if (auto failure = ops::writeHindcastTable(request.hindcastTable, table)) failures.push_back(*failure);
    }
    makeWatchList(request.risk, run, feedback, risk);
    if (!request.summaryFile.empty()) {
        const engine::RunSummaryInput summary{EARLYLATE_VERSION,
                                              run.inputFile,
                                              run.inputSha256,
                                              run.afterRun,
                                              run.calculationDate,
                                              run.result,
                                              run.runSeconds,
                                              targetBlock ? &years : nullptr,
                                              &run.data,
                                              all ? &*all : nullptr,
                                              risk.target ? &*risk.target : nullptr};
        if (auto failure = ops::writeSummaryFile(request.summaryFile, summary)) failures.push_back(*failure);
    }
    made.notices = std::move(risk.notices);
    made.risk = std::move(risk.target);
    failures.insert(failures.end(), risk.failures.begin(), risk.failures.end());
    return made;
}

}  // namespace el::batch
