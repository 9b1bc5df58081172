#include "cli/after_run.hpp"

#include "base/numtext.hpp"
#include "base/settings.hpp"
#include "cli/batch_options.hpp"
#include "cli/risk_outputs.hpp"
#include "engine/hindcast/hindcast_report.hpp"
#include "ops/hindcast.hpp"
#include "ops/table_files.hpp"
#include "outputs/risk_column.hpp"

namespace el::batch {
namespace {

// The hindcasts asked for: the target's block, then the candidates', on every thread the
// settings allow.
ops::HindcastResult hindcasts(const AfterRunRequest& request, const AfterRunContext& run, bool targetBlock,
                              LogSink& log, Feedback& feedback) {
    ops::HindcastRequest hindcast;
    hindcast.data = &run.data;
    hindcast.species = run.result.speciesNames;
    hindcast.missvalue = kMissValue;
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

void tellFailures(const ops::HindcastResult& made, std::vector<std::string>& failures) {
    for (const engine::HindcastYear& year : made.years)
        if (!year.ran) failures.push_back("The hindcast for" + strnum(year.year) + " stopped: " + year.error);
    if (!made.all) return;
    for (const engine::SpeciesHindcast& row : made.all->rows)
        if (!row.ran)
            failures.push_back("The hindcast of " + row.species + " for" + strnum(row.year) + " stopped: " + row.error);
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
    std::optional<engine::AllSpeciesHindcast>& all = made.allSpecies;
    if (targetBlock || (!request.hindcastYears.empty() && !request.hindcastTargets.empty())) {
        ops::HindcastResult hindcast = hindcasts(request, run, targetBlock, log, feedback);
        tellFailures(hindcast, failures);
        years = std::move(hindcast.years);
        all = std::move(hindcast.all);
    }
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
