#include "engine/engine.hpp"

#include <optional>

#include "base/numtext.hpp"
#include "engine/pass_report.hpp"
#include "engine/pass_result.hpp"
#include "engine/power_pass.hpp"
#include "engine/report_header.hpp"
#include "engine/report_results.hpp"
#include "engine/run_error.hpp"
#include "engine/run_weight_test_file.hpp"
#include "engine/writeback.hpp"

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

// How many values a power loop takes from `first` while not above `last`, in steps of 0.1
// added in double precision, exactly as the loop itself counts them.
long long powerStepCount(double first, double last) {
    long long count = 0;
    for (double p = first; p <= last; p += 0.1) ++count;
    return count;
}

// The weighting powers a run goes through: one pair in report mode, the grid from 0 to 20
// in steps of 0.1 in an examine-weight run.
struct PowerRange {
    double first1, last1, first2, last2;
    long long passes() const { return powerStepCount(first1, last1) * powerStepCount(first2, last2); }
};

// Turns each stage of a pass into its log lines at once and, in an examine-weight run, the
// target's fit into its weight-test line and the grid of the result.
class PassReporter : public PassListener {
public:
    PassReporter(const PassInput& input, const RunHooks& hooks, bool reportMode,
                 std::optional<WeightTestFile>& weightTest)
        : input_(input), hooks_(hooks), reportMode_(reportMode), weightTest_(weightTest) {}

    // What the run progress label shows with the weight-test caption of the coming pass.
    void setPassCaption(std::string caption) { passCaption_ = std::move(caption); }
    std::vector<WeightGridCell> takeGrid() { return std::move(grid_); }

    void stageDone(PassStage stage, const PassOutcome& outcome) override {
        if (stage == PassStage::Started) targetText_ = hooks_.settings.setting(Setting::TargetSpecies);
        appendLines(hooks_.log, passStageLines(stage, outcome, {input_, reportMode_, targetText_}));
        if (stage == PassStage::SpeciesFitted) recordWeightTest(outcome);
    }

private:
    void recordWeightTest(const PassOutcome& outcome) {
        const bool isTarget = static_cast<int>(outcome.species.size()) - 1 == input_.targetIndex();
        if (!isTarget || !weightTest_ || !isOn(hooks_.settings, Setting::ExamineWeight)) return;
        const SpeciesFit& fit = outcome.species.back().fit;
        weightTest_->writeLine(weightTestLine(targetText_, outcome.p1, outcome.p2, fit));
        grid_.push_back({outcome.p1, outcome.p2, fit.rt, fit.rv, fit.rw});
        hooks_.feedback.caption(Label::Status, weightTestCaption(targetText_, outcome.p1, outcome.p2, fit));
        if (!passCaption_.empty()) hooks_.feedback.caption(Label::RunProgress, passCaption_);
        hooks_.feedback.checkpoint();
    }

    const PassInput& input_;
    const RunHooks& hooks_;
    bool reportMode_;
    std::optional<WeightTestFile>& weightTest_;
    std::string targetText_;
    std::string passCaption_;
    std::vector<WeightGridCell> grid_;
};

// One run from its header to the end of its last pass; throws to stop early.
class RunDriver {
public:
    RunDriver(const RunRequest& request, const RunHooks& hooks, TrialRandom& random)
        : request_(request), hooks_(hooks), settings_(hooks.settings), random_(random) {}

    RunResult run();
    void closeWeightTest() {
        if (weightTest_) weightTest_->close();
    }
    // A cut-short weight-test file would pass for a finished grid.
    void discardWeightTest() {
        if (weightTest_) weightTest_->discard();
    }

private:
    PassInput prepareInput(const std::string& targetText);
    PowerRange choosePowers();
    void addPairData(PassInput& input) const;
    PassOutcome runPasses(const PassInput& input, const PowerRange& powers, PassReporter& reporter);
    void writePrediction(const PassInput& input, const PassOutcome& pass);

    const RunRequest& request_;
    const RunHooks& hooks_;
    SettingsSource& settings_;
    TrialRandom& random_;
    bool reportMode_ = true;
    std::optional<WeightTestFile> weightTest_;
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
    const PowerRange powers = choosePowers();
    if (!reportMode_) {
        weightTest_.emplace(request_.workDir, targetText);
        weightTest_->writeLine(weightTestHeader(settings_.setting(Setting::DataFileName), request_.calculationDate));
    }
    addPairData(input);

    PassReporter reporter(input, hooks_, reportMode_, weightTest_);
    RunResult result = resultOfPass(input, runPasses(input, powers, reporter));
    result.status = RunStatus::Completed;
    result.examinedWeights = !reportMode_;
    result.weightGrid = reporter.takeGrid();
    return result;
}

// The species table, its report lines and the status matrix with the target's split.
PassInput RunDriver::prepareInput(const std::string& targetText) {
    const VectorData& data = *request_.data;
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

// An examine-weight run also switches off every output its passes must not make.
PowerRange RunDriver::choosePowers() {
    const double similarityPower = numberOrRunError(settings_.setting(Setting::WeightPower), "weight power");
    const double samplePower = numberOrRunError(settings_.setting(Setting::SampleN), "sample power");
    if (reportMode_) return {similarityPower, similarityPower, samplePower, samplePower};
    settings_.setSetting(Setting::AddPrediction, std::string(kOff));
    settings_.setSetting(Setting::SimOutput, "none");
    settings_.setSetting(Setting::ElMatrixOutput, "none");
    return {0, 20, 0, 20};
}

// What does not depend on the powers: the species comparison, each region's count of
// relations, the region names and, for the many passes of an examine-weight run, the codes
// of every region pair.
void RunDriver::addPairData(PassInput& input) const {
    input.comparison = compareSpecies(input.status);
    if (!reportMode_) input.pairCodes = pairCodes(speciesCodes(input.status));
    input.regionviable = regionViable(input.status, input.targetIndex());
    for (const auto& object : request_.data->objects) input.regionNames.push_back(object.name);
}

PassOutcome RunDriver::runPasses(const PassInput& input, const PowerRange& powers, PassReporter& reporter) {
    PassScratch scratch;
    const PassContext context{settings_, hooks_.feedback, random_, scratch, reporter};
    const long long passes = powers.passes();
    long long passesDone = 0;
    PassOutcome last;
    for (double p1 = powers.first1; p1 <= powers.last1; p1 += 0.1)
        for (double p2 = powers.first2; p2 <= powers.last2; p2 += 0.1) {
            if (!reportMode_)
                reporter.setPassCaption("Pass" + strnum(static_cast<double>(passesDone + 1)) + " of" +
                                        strnum(static_cast<double>(passes)));
            last = computePass(input, p1, p2, context);
            if (!last.connected) {
                hooks_.messenger.message("There are less-connective regions");
                throw RunStopped{};
            }
            if (isOn(settings_, Setting::AddPrediction)) writePrediction(input, last);
            hooks_.feedback.progress(ProgressStage::Passes, ++passesDone, passes);
        }
    return last;
}

void RunDriver::writePrediction(const PassInput& input, const PassOutcome& pass) {
    if (!request_.sourceWritable)
        throw RunError("The prediction cannot be added to " + request_.sourceFile.filename().string() +
                       ": it is a GIS file. Convert it with earlylate-convert and read the vector file instead");
    const PredictionColumns columns{input.regionviable, pass.used, pass.score, input.table.name, predictionTexts(pass)};
    addPredictionToSource(*request_.data, columns, request_.missvalue, request_.sourceFile, hooks_.feedback);
}

}  // namespace

RunResult Engine::run(const RunRequest& request, const RunHooks& hooks) {
    Feedback& feedback = hooks.feedback;
    hooks.log.clearLog();
    if (request.species.empty()) return statusOnly(RunStatus::NoSpecies);
    feedback.runBusy(true);
    feedback.caption(Label::RunProgress, " 0 %");

    RunDriver driver(request, hooks, random_);
    try {
        RunResult result = driver.run();
        driver.closeWeightTest();
        feedback.runBusy(false);
        feedback.caption(Label::RunProgress, "100% complete");
        return result;
    } catch (const Cancelled&) {
        // Every file writer below cleaned up while the exception passed.
        driver.discardWeightTest();
        feedback.runBusy(false);
        feedback.caption(Label::RunProgress, "Cancelled");
        return statusOnly(RunStatus::Cancelled);
    } catch (const RunError& error) {
        hooks.messenger.message(error.what());
    } catch (const RunStopped&) {
    } catch (const std::exception& error) {
        hooks.messenger.message(std::string("The run stopped: ") + error.what());
    }
    driver.closeWeightTest();
    feedback.runBusy(false);
    return statusOnly(RunStatus::Stopped);
}

}  // namespace el::engine
