#include "cli/after_run.hpp"

#include "base/numtext.hpp"
#include "base/settings.hpp"
#include "cli/batch_options.hpp"
#include "engine/hindcast/hindcast.hpp"
#include "engine/hindcast/hindcast_report.hpp"
#include "ops/table_files.hpp"

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

// The hindcast over the candidates, on every thread the settings allow; its table when asked.
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
    if (!request.hindcastTable.empty())
        if (auto failure = ops::writeHindcastTable(request.hindcastTable, engine::allSpeciesTable(out)))
            failures.push_back(*failure);
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
    if (!request.predictionsFile.empty())
        if (auto failure = ops::writePredictionsFile(
                request.predictionsFile, engine::predictionTable(run.data, run.result, kMissValue), run.data))
            failures.push_back(*failure);
    std::vector<engine::HindcastYear>& years = made.hindcast;
    const bool targetBlock = !request.hindcastYears.empty() && request.targetHindcast;
    if (targetBlock) years = hindcast(request, run, log, feedback, failures);
    std::optional<engine::AllSpeciesHindcast>& all = made.allSpecies;
    if (!request.hindcastYears.empty() && !request.hindcastTargets.empty())
        all = allSpecies(request, run, feedback, failures);
    if (!request.summaryFile.empty()) {
        const engine::RunSummaryInput summary{EARLYLATE_VERSION, run.inputFile,       run.inputSha256,
                                              run.afterRun,      run.calculationDate, run.result,
                                              run.runSeconds,    targetBlock ? &years : nullptr,
                                              &run.data,         all ? &*all : nullptr};
        if (auto failure = ops::writeSummaryFile(request.summaryFile, summary)) failures.push_back(*failure);
    }
    return made;
}

}  // namespace el::batch
