#include "cli/after_run.hpp"

#include "base/numtext.hpp"
#include "cli/batch_options.hpp"
#include "cli/table_files.hpp"
#include "engine/hindcast.hpp"
#include "engine/hindcast_report.hpp"
#include "vector/records.hpp"

namespace el::batch {
namespace {

std::vector<engine::HindcastYear> hindcast(const AfterRunRequest& request, const AfterRunContext& run, LogSink& log,
                                           Feedback& feedback, std::vector<std::string>& failures) {
    engine::HindcastRequest hindcast;
    hindcast.data = &run.data;
    hindcast.species = run.result.speciesNames;
    hindcast.missvalue = kMissValue;
    hindcast.calculationDate = run.calculationDate;
    hindcast.settings = run.given;
    std::vector<engine::HindcastYear> years = engine::runHindcast(hindcast, request.hindcastYears, feedback);
    if (records::withoutGeometry(run.data))  // every region at one place: no distance means anything
        for (engine::HindcastYear& year : years) {
            year.figures.distanceAuc.reset();
            year.figures.distanceSpearman.reset();
            for (engine::HindcastRegion& region : year.regions) region.distance.reset();
        }
    for (const std::string& line : engine::hindcastLines(years)) log.appendLog(line);
    for (const engine::HindcastYear& year : years)
        if (!year.ran) failures.push_back("The hindcast for" + strnum(year.year) + " stopped: " + year.error);
    return years;
}

}  // namespace

std::vector<std::string> makeAfterRunOutputs(const AfterRunRequest& request, const AfterRunContext& run, LogSink& log,
                                             Feedback& feedback) {
    std::vector<std::string> failures;
    if (!request.predictionsFile.empty())
        if (auto failure = writePredictionsFile(request.predictionsFile,
                                                engine::predictionTable(run.data, run.result, kMissValue), run.data))
            failures.push_back(*failure);
    std::vector<engine::HindcastYear> years;
    if (!request.hindcastYears.empty()) years = hindcast(request, run, log, feedback, failures);
    if (!request.summaryFile.empty()) {
        const engine::RunSummaryInput summary{EARLYLATE_VERSION, run.inputFile,       run.inputSha256,
                                              run.afterRun,      run.calculationDate, run.result,
                                              run.runSeconds,    request.hindcastYears.empty() ? nullptr : &years};
        if (auto failure = writeSummaryFile(request.summaryFile, summary)) failures.push_back(*failure);
    }
    return failures;
}

}  // namespace el::batch
