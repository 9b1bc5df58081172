#include "ops/run_outputs.hpp"

#include "base/numtext.hpp"
#include "base/settings.hpp"
#include "engine/hindcast/hindcast_report.hpp"
#include "ops/hindcast.hpp"
#include "ops/risk_outputs.hpp"
#include "ops/table_files.hpp"
#include "outputs/risk_column.hpp"

namespace el::ops {
namespace {

// The hindcasts asked for: the target's block, then the candidates', on every thread the
// settings allow.
HindcastResult hindcasts(const AfterRunRequest& request, const AfterRunContext& run, bool targetBlock, LogSink& log,
                         Feedback& feedback) {
    HindcastRequest hindcast;
    hindcast.data = &run.data;
    hindcast.species = run.result.speciesNames;
    hindcast.missvalue = run.missvalue;
    hindcast.calculationDate = run.calculationDate;
    hindcast.settings = run.given;
    hindcast.years = request.hindcastYears;
    hindcast.targetYears = targetBlock;
    if (!request.hindcastTargets.empty()) hindcast.targets = request.hindcastTargets;
    hindcast.rules = request.hindcastRules;
    return ops::hindcast(hindcast, feedback, [&log](const std::vector<engine::HindcastYear>& years) {
        for (const std::string& line : engine::hindcastLines(years)) log.appendLog(line);
    });
}

void addFailure(Diagnostics& failures, std::optional<std::string> failure, const std::string& file) {
    if (failure) failures.push_back(outputNotMade(std::move(*failure), file));
}

void tellFailures(const HindcastResult& made, Diagnostics& failures) {
    for (const engine::HindcastYear& year : made.years)
        if (!year.ran)
            failures.push_back(
                outputNotMade("The hindcast for" + strnum(year.year) + " stopped: " + year.error, plainnum(year.year)));
    if (!made.all) return;
    for (const engine::SpeciesHindcast& row : made.all->rows)
        if (!row.ran)
            failures.push_back(outputNotMade(
                "The hindcast of " + row.species + " for" + strnum(row.year) + " stopped: " + row.error, row.species));
}

// The run's target, "" when it had none.
std::string targetName(const AfterRunContext& run) {
    const int target = run.result.target;
    return target >= 0 ? run.result.speciesNames[static_cast<std::size_t>(target)] : std::string();
}

AfterRunOutputs makeTablesAndHindcasts(const AfterRunRequest& request, const AfterRunContext& run, LogSink& log,
                                       Feedback& feedback) {
    AfterRunOutputs made;
    Diagnostics& failures = made.failures;
    RiskMade risk;
    makeTargetRisk(request.risk, run, feedback, risk);
    if (!request.predictionsFile.empty()) {
        engine::PredictionTable table = engine::predictionTable(run.data, run.result, run.missvalue);
        if (risk.target) engine::addRiskColumn(table, *risk.target);
        addFailure(failures, writePredictionsFile(request.predictionsFile, table, run.data), request.predictionsFile);
    }
    std::vector<engine::HindcastYear>& years = made.hindcast;
    const bool targetBlock = !request.hindcastYears.empty() && request.targetHindcast;
    std::optional<engine::AllSpeciesHindcast>& all = made.allSpecies;
    if (targetBlock || (!request.hindcastYears.empty() && !request.hindcastTargets.empty())) {
        HindcastResult hindcast = hindcasts(request, run, targetBlock, log, feedback);
        tellFailures(hindcast, failures);
        years = std::move(hindcast.years);
        all = std::move(hindcast.all);
    }
    if (request.risk.hindcastRisk(!request.hindcastYears.empty()))
        makeHindcastRisk(request.risk, run,
                         hindcastCases(all ? &*all : nullptr, request.hindcastYears, targetName(run)), feedback, risk);
    if (all && !request.hindcastTable.empty()) {
        engine::PredictionTable table = engine::allSpeciesTable(*all);
        if (risk.hindcast) addRiskFigures(table, *risk.hindcast);
        addFailure(failures, writeHindcastTable(request.hindcastTable, table), request.hindcastTable);
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
        addFailure(failures, writeSummaryFile(request.summaryFile, summary), request.summaryFile);
    }
    for (std::string& notice : risk.notices)
        made.notices.push_back({Severity::Warning, DiagnosticKind::RiskNotice, std::move(notice), ""});
    made.risk = std::move(risk.target);
    failures.insert(failures.end(), risk.failures.begin(), risk.failures.end());
    return made;
}

}  // namespace

AfterRunOutputs writeOutputs(const AfterRunRequest& request, const AfterRunContext& run, const FigureRequest& figures,
                             const CompletedRun& completed, LogSink& log, Feedback& feedback) {
    AfterRunOutputs made = makeTablesAndHindcasts(request, run, log, feedback);
    addFailure(made.failures, writeRiskMap(figures, completed, made.risk), figures.mapFile);
    addFailure(made.failures, writeRunReport(figures, completed, made.hindcast, made.allSpecies, made.risk),
               figures.reportFile);
    return made;
}

}  // namespace el::ops
