#include "engine/run/engine.hpp"

#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/numtext.hpp"
#include "base/work_pool.hpp"
#include "engine/model/run_error.hpp"
#include "engine/pass/pass_pipeline.hpp"
#include "engine/pass/pass_report.hpp"
#include "engine/pass/pass_result.hpp"
#include "engine/pass/pass_settings.hpp"
#include "engine/pass/power_pass.hpp"
#include "engine/report/report_header.hpp"
#include "engine/report/report_results.hpp"
#include "engine/report/run_weight_test_file.hpp"
#include "engine/run/writeback.hpp"

namespace el::engine {
namespace {

// Ends a run early after its message has been shown (split region groups).
struct RunStopped {};

void appendLines(LogSink& log, const LogLines& lines) {
    for (const auto& line : lines) log.appendLog(line);
}

RunResult statusOnly(RunStatus status) {
    RunResult result;
    result.status = status;
    return result;
}

// The power pairs of an examine-weight run in pass order: each power from 0 while not above
// 20, in steps of 0.1 added in double precision (200 values each).
std::vector<PowerPair> powerGrid() {
    std::vector<PowerPair> pairs;
    for (double p1 = 0; p1 <= 20; p1 += 0.1)
        for (double p2 = 0; p2 <= 20; p2 += 0.1) pairs.push_back({p1, p2});
    return pairs;
}

// What the run progress label shows while pass k (0-based) of `passes` is reported.
std::string passCaption(long long k, long long passes) {
    return "Pass" + strnum(static_cast<double>(k + 1)) + " of" + strnum(static_cast<double>(passes));
}

// One run from its header to the end of its last pass; throws to stop early.
class RunDriver {
public:
    RunDriver(const RunRequest& request, const RunHooks& hooks, TrialRandom& random)
        : request_(request), hooks_(hooks), settings_(hooks.settings), random_(random) {}

    RunResult run();
    void closeWeightTest() {
        if (weightTest_) weightTest_->close();
    }
    // A cancelled run leaves the previous weight-test file as it was.
    void discardWeightTest() {
        if (weightTest_) weightTest_->discard();
    }

private:
    PassInput prepareInput(const std::string& targetText);
    std::vector<PowerPair> choosePowers();
    void chooseThreads();
    void addPairData(PassInput& input);
    PassOutcome runPasses(const PassInput& input, const std::vector<PowerPair>& powers, PassLogWriter& writer);
    PassOutcome runPassesInParallel(const PassInput& input, const std::vector<PowerPair>& powers,
                                    PassLogWriter& writer);
    // What the run does after pass k (0-based) of `passes`, read with the pass's settings; throws to stop.
    void afterPass(const PassInput& input, const SettingsSource& settings, const PassOutcome& pass, long long k,
                   long long passes);
    void writePrediction(const PassInput& input, const PassOutcome& pass);
    // Workers for the passes of an examine-weight run, each building its own matrix.
    int passWorkers(const PassInput& input) const {
        const auto regions = static_cast<std::size_t>(input.status.regions);
        return frames_ ? workersWithin(threads_, regions * regions * sizeof(double)) : 1;
    }

    const RunRequest& request_;
    const RunHooks& hooks_;
    SettingsSource& settings_;
    TrialRandom& random_;
    bool reportMode_ = true;
    int threads_ = 1;
    std::optional<WeightTestFile> weightTest_;
    std::optional<PassFrames> frames_;  // with the packed codes
};

RunResult RunDriver::run() {
    if (request_.data == nullptr || !request_.data->consistent()) throw RunError("No complete data set is loaded");
    appendLines(hooks_.log, headerLines(settings_.setting(Setting::DataFileName), request_.calculationDate));
    reportMode_ = !isOn(settings_, Setting::ExamineWeight);
    // Trials exclude an examine-weight run, and region exclusion excludes the trials.
    if (!reportMode_) settings_.setSetting(Setting::DoReliability, std::string(kOff));
    if (isOn(settings_, Setting::DoReliability)) settings_.setSetting(Setting::ExcludeLimited, std::string(kOff));

    const std::string targetText = settings_.setting(Setting::TargetSpecies);
    PassInput input = prepareInput(targetText);
    const std::vector<PowerPair> powers = choosePowers();
    chooseThreads();
    // Emptied only once the settings read before the passes have passed their checks.
    if (!reportMode_) {
        weightTest_.emplace(request_.workDir, targetText);
        weightTest_->writeLine(weightTestHeader(settings_.setting(Setting::DataFileName), request_.calculationDate));
    }
    addPairData(input);

    PassLogWriter writer(hooks_.log, hooks_.feedback, weightTest_);
    const bool onThreads = !reportMode_ && passWorkers(input) > 1;
    RunResult result =
        resultOfPass(input, onThreads ? runPassesInParallel(input, powers, writer) : runPasses(input, powers, writer));
    result.status = RunStatus::Completed;
    result.examinedWeights = !reportMode_;
    result.weightGrid = writer.takeGrid();
    return result;
}

// The species table, its report lines and the status matrix with the target's split.
PassInput RunDriver::prepareInput(const std::string& targetText) {
    const vec::VectorData& data = *request_.data;
    PassInput input;
    input.table = buildSpeciesTable(data, request_.species, targetText);
    if (reportMode_)
        appendLines(hooks_.log, speciesBlockLines(request_.species,
                                                  input.table.target ? std::optional<std::string>(targetText)
                                                                     : std::nullopt,
                                                  isOn(settings_, Setting::AutoWeight)));
    input.status = buildStatusMatrix(data, input.table, request_.missvalue, hooks_.messenger, hooks_.feedback);
    if (input.table.target)
        splitTrainingValidation(input.status, *input.table.target,
                                readTrainingCount(input.status.regions, settings_));
    return input;
}

// The weighting powers of the passes: the settings' pair in report mode, the grid in an
// examine-weight run, which also switches off every output its passes must not make.
std::vector<PowerPair> RunDriver::choosePowers() {
    const double similarityPower = numberOrRunError(settings_.setting(Setting::WeightPower), "weight power");
    const double samplePower = numberOrRunError(settings_.setting(Setting::SampleN), "sample power");
    if (reportMode_) return {{similarityPower, samplePower}};
    settings_.setSetting(Setting::AddPrediction, std::string(kOff));
    settings_.setSetting(Setting::SimOutput, "none");
    settings_.setSetting(Setting::ElMatrixOutput, "none");
    return powerGrid();
}

// The threads setting; the plain computation runs on one thread whatever it says.
void RunDriver::chooseThreads() {
    const std::string threadsText = settings_.setting(Setting::Threads);
    const auto threads = threadCountOf(threadsText);
    if (!threads) throw RunError("The threads text \"" + threadsText + "\" is not a whole number from 1 to " +
                                 std::to_string(kMaxThreads));
    threads_ = request_.plain ? 1 : *threads;
}

// What does not depend on the powers: the species comparison (the plain reading counts it
// whole; otherwise only what the passes read, when they first read it), each region's count
// of relations, the region names and the codes of every region pair, made once for all passes.
void RunDriver::addPairData(PassInput& input) {
    auto codes = std::make_shared<const SpeciesCodes>(speciesCodes(input.status));
    if (request_.plain) {
        input.comparison = std::make_shared<SpeciesComparisons>(compareSpecies(*codes, 1, hooks_.feedback));
    } else {
        input.comparison = std::make_shared<SpeciesComparisons>(codes, threads_);
        // Every pass weighs by the target's column: counted here, on the run's threads.
        if (input.table.target) input.comparison->with(*input.table.target, hooks_.feedback);
        input.packed = packCodes(*codes, threads_);
        frames_.emplace(*input.packed);
    }
    input.regionviable = regionViable(input.status, input.targetIndex());
    for (const auto& object : request_.data->objects) input.regionNames.push_back(object.name);
}

PassOutcome RunDriver::runPasses(const PassInput& input, const std::vector<PowerPair>& powers, PassLogWriter& writer) {
    PassScratch scratch;
    PassFrames* frames = frames_ ? &*frames_ : nullptr;
    const auto passes = static_cast<long long>(powers.size());
    // The one pass of a report-mode run reads the settings live, each where it needs it, so
    // only what it reads counts as read (the window's report lists those).
    std::optional<PassSettings> handed;
    if (!reportMode_) handed.emplace(settings_, passes);
    PassOutcome last;
    for (long long k = 0; k < passes; ++k) {
        const SettingsSource& settings = handed ? static_cast<const SettingsSource&>(handed->of(k)) : settings_;
        PassReport report(input, settings, reportMode_, &writer);
        const PassContext context{settings, hooks_.feedback, random_, scratch, report, threads_, frames};
        if (!reportMode_) writer.setPassCaption(passCaption(k, passes));
        scratch.matrix = std::exchange(last.matrix, SquareMatrix());
        const PowerPair& pair = powers[static_cast<std::size_t>(k)];
        last = computePass(input, pair.p1, pair.p2, context);
        afterPass(input, settings, last, k, passes);
        if (handed) handed->taken(k);
    }
    return last;
}

PassOutcome RunDriver::runPassesInParallel(const PassInput& input, const std::vector<PowerPair>& powers,
                                           PassLogWriter& writer) {
    const auto passes = static_cast<long long>(powers.size());
    PassOutcome last;
    PassSettings handed(settings_, passes);
    const PassWork work{input, handed, random_, *frames_};
    runPassesOnThreads(work, powers, passWorkers(input), hooks_.feedback, [&](long long k, PassRecord& record) {
        writer.setPassCaption(passCaption(k, passes));
        for (const PassReport::Piece& piece : record.report) writer.show(piece);
        if (record.error) std::rethrow_exception(record.error);
        afterPass(input, handed.of(k), record.outcome, k, passes);
        if (k + 1 == passes) last = std::move(record.outcome);
    });
    return last;
}

void RunDriver::afterPass(const PassInput& input, const SettingsSource& settings, const PassOutcome& pass, long long k,
                          long long passes) {
    if (!pass.connected) {
        hooks_.messenger.message("There are less-connective regions");
        throw RunStopped{};
    }
    if (isOn(settings, Setting::AddPrediction)) writePrediction(input, pass);
    hooks_.feedback.progress(ProgressStage::Passes, k + 1, passes);
}

void RunDriver::writePrediction(const PassInput& input, const PassOutcome& pass) {
    if (!request_.sourceWritable)
        throw RunError("The prediction cannot be added to " + request_.sourceFile.filename().string() +
                       ": it is " + request_.unwritableSource +
                       ". Convert it with earlylate-convert and read the vector file instead");
    const PredictionColumns columns{input.regionviable, pass.used, pass.score, input.table.name, predictionTexts(pass)};
    addPredictionToSource(*request_.data, columns, request_.missvalue, request_.sourceFile, hooks_.feedback);
}

}  // namespace

RunResult Engine::run(const RunRequest& request, const RunHooks& hooks) {
    Feedback& feedback = hooks.feedback;
    hooks.log.clearLog();
    if (request.species.empty()) return statusOnly(RunStatus::NoSpecies);
    feedback.caption(Label::RunProgress, " 0 %");

    RunDriver driver(request, hooks, random_);
    try {
        RunResult result = driver.run();
        driver.closeWeightTest();
        feedback.caption(Label::RunProgress, "100% complete");
        return result;
    } catch (const Cancelled&) {
        // Every file writer below cleaned up while the exception passed.
        driver.discardWeightTest();
        feedback.caption(Label::RunProgress, "Cancelled");
        return statusOnly(RunStatus::Cancelled);
    } catch (const RunError& error) {
        hooks.messenger.message(error.what());
    } catch (const RunStopped&) {
    } catch (const std::exception& error) {
        hooks.messenger.message(std::string("The run stopped: ") + error.what());
    }
    // A run that stopped early still ends its grid, as far as it went.
    try {
        driver.closeWeightTest();
    } catch (const RunError& error) {
        hooks.messenger.message(error.what());
    }
    return statusOnly(RunStatus::Stopped);
}

}  // namespace el::engine
