#include "engine/engine.hpp"

#include <climits>
#include <cmath>
#include <optional>

#include "base/numtext.hpp"
#include "engine/eigenvector.hpp"
#include "engine/figure_summary.hpp"
#include "engine/prediction.hpp"
#include "engine/region_score.hpp"
#include "engine/relations.hpp"
#include "engine/report_header.hpp"
#include "engine/report_results.hpp"
#include "engine/report_weights.hpp"
#include "engine/run_error.hpp"
#include "engine/run_weight_test_file.hpp"
#include "engine/status_matrix.hpp"
#include "engine/trials.hpp"
#include "engine/weights.hpp"
#include "engine/writeback.hpp"

namespace el::engine {
namespace {

// Ends a run early after its message has been shown (split region groups).
struct RunStopped {};

void appendLines(LogSink& log, const LogLines& lines) {
    for (const auto& line : lines) log.appendLog(line);
}

double readNumberSetting(const SettingsSource& settings, Setting id, const std::string& what) {
    return numberOrRunError(settings.setting(id), what);
}

int readIterations(const SettingsSource& settings) {
    const std::string text = settings.setting(Setting::IterationN);
    const double rounded = roundHalfEven(numberOrRunError(text, "iteration"));
    if (rounded < 1) throw RunError("The iteration text \"" + text + "\" must give at least 1 trial");
    if (rounded > INT_MAX) throw RunError("The iteration text \"" + text + "\" gives too many trials");
    return static_cast<int>(rounded);
}

// Everything a run builds before its power loops; the power passes only read it.
struct RunInput {
    RunInput(const RunRequest& r, const VectorData& d) : request(r), data(d) {}
    const RunRequest& request;
    const VectorData& data;
    bool reportMode = true;
    SpeciesTable table;
    StatusMatrix status;
    SpeciesComparison comparison;  // does not depend on the powers
    std::optional<PairCodes> pairCodes;  // examine-weight runs: every pair's codes, made once
    std::vector<int> regionviable;
    std::vector<std::string> regionNames;  // every region, in file order
    std::optional<EarlyLateCounts> counts;  // made when the first trials need them
    int targetIndex() const { return table.target.value_or(-1); }
};

// The prediction table: per species and used position the predicted date text, or
// "Unpredictable".
std::vector<std::vector<std::string>> predictionTable(const std::vector<SpeciesFit>& fits,
                                                      const std::vector<double>& score) {
    std::vector<std::vector<std::string>> table;
    table.reserve(fits.size());
    for (const SpeciesFit& fit : fits) {
        std::vector<std::string> row;
        row.reserve(score.size());
        for (double v : score) row.push_back(fit.predictable ? strnum(fit.a * v + fit.b) : std::string("Unpredictable"));
        table.push_back(std::move(row));
    }
    return table;
}

// What one power pass leaves; the prediction texts are made only when needed.
struct PassResult {
    std::vector<int> regno;
    std::vector<double> score;
    std::vector<SpeciesFit> fits;
};

class PassRunner {
public:
    PassRunner(RunInput& in, const RunHooks& hooks, TrialRandom& random, PowerIteration& power,
               std::optional<WeightTestFile>& weightTest)
        : in_(in), hooks_(hooks), settings_(hooks.settings), feedback_(hooks.feedback), random_(random),
          power_(power), weightTest_(weightTest) {}

    // `passCaption` goes to the run progress label with the weight-test caption of the pass.
    PassResult run(double p1, double p2, const std::string& passCaption = {});

private:
    void report(const LogLines& lines) {
        if (in_.reportMode) appendLines(hooks_.log, lines);
    }
    SpeciesFit fitOne(int species, const UsedRegions& used, const std::vector<double>& score) const;

    RunInput& in_;
    const RunHooks& hooks_;
    SettingsSource& settings_;
    Feedback& feedback_;
    TrialRandom& random_;
    PowerIteration& power_;
    std::optional<WeightTestFile>& weightTest_;
};

SpeciesFit PassRunner::fitOne(int species, const UsedRegions& used, const std::vector<double>& score) const {
    FitSums training, validation;
    for (int p = 0; p < used.size(); ++p) {
        const int k = used.regno[p];
        const Status& st = in_.status.statusAt(k, species);
        if (st.kind == StatusKind::Date) training.add(st.date, score[p]);
        else if (in_.table.target && in_.status.actual[k].kind == StatusKind::Date)
            validation.add(in_.status.actual[k].date, score[p]);
    }
    return fitSpecies(training, validation);
}

PassResult PassRunner::run(double p1, double p2, const std::string& passCaption) {
    const auto& names = in_.table.name;
    const int m = in_.table.size();
    const int regions = in_.status.regions;
    const std::string targetText = settings_.setting(Setting::TargetSpecies);

    report(powerLines(p1, p2));

    const SpeciesWeights weights =
        computeWeights(in_.comparison, names, in_.table.target, isOn(settings_, Setting::AutoWeight), p1, p2, feedback_);
    report(weightLines(weights, names, targetText));

    const std::string simOutput = settings_.setting(Setting::SimOutput);
    if (simOutput != "none")
        appendLines(hooks_.log, similarityLines(in_.comparison, names,
                                           simOutput == "distance" ? SimilarityForm::Dissimilarity
                                                                   : SimilarityForm::Similarity));

    // Trial statistics per region number; zero when this pass runs no trials.
    TrialStats trials{std::vector<double>(regions, 0.0), std::vector<double>(regions, 0.0), 0};
    bool hasTrials = false;
    if (isOn(settings_, Setting::DoReliability)) {
        const int count = readIterations(settings_);
        if (!in_.counts) in_.counts = countRelations(in_.status);
        trials = reliability(*in_.counts, count, random_, power_, feedback_);
        hasTrials = true;
    }

    EarlyLateMatrix el = in_.pairCodes ? buildEarlyLateMatrix(*in_.pairCodes, weights.weight, in_.targetIndex())
                                       : buildEarlyLateMatrix(in_.status, weights.weight, in_.targetIndex());
    const std::vector<std::string>& allNames = in_.regionNames;
    UsedRegions used = allRegions(allNames);
    if (regions == 0) throw RunError("There is no region to analyse");
    if (isOn(settings_, Setting::ExcludeLimited)) {
        excludeRegions(el.M, el.W, used, in_.regionviable, settings_, feedback_);
        report(regionCountLines(regions, used.size()));
        if (used.size() == 0) throw RunError("No region is left to analyse");
    }

    if (testConnectivity(el.W, feedback_).failedStart) {
        hooks_.messenger.message("There are less-connective regions");
        throw RunStopped{};
    }
    fillMissingCells(el.M, el.W, fillModeOf(settings_.setting(Setting::MissingMode)));
    std::vector<double> score;
    power_.eigenvector(el.M, score, feedback_);
    const std::vector<int> order = regionOrder(score);

    const int n = used.size();
    std::vector<double> meanByPosition(n), sdByPosition(n);
    std::vector<int> positionOf(regions, -1);
    for (int p = 0; p < n; ++p) {
        meanByPosition[p] = trials.eigenmean[used.regno[p]];
        sdByPosition[p] = trials.eigensd[used.regno[p]];
        positionOf[used.regno[p]] = p;
    }
    report(scoreTableLines(used.name, score, order, meanByPosition, sdByPosition));
    report(correlationHeadLines());

    std::vector<SpeciesFit> fits;
    fits.reserve(m);
    for (int j = 0; j < m; ++j) {
        const SpeciesFit fit = fitOne(j, used, score);
        fits.push_back(fit);
        double scale = fit.a;  // an examine-weight run takes both spreads as 1
        if (!isOn(settings_, Setting::ExamineWeight))
            scale = hasTrials ? trialScale(score, meanByPosition, fit.a) : 0;

        const bool isTarget = in_.table.target && *in_.table.target == j;
        if (in_.reportMode && (!in_.table.target || isTarget)) {
            SpeciesBlock block{names[j], isTarget, fit, scale * trials.vectorshift, {}};
            for (int k = 0; k < regions; ++k) {
                const int p = positionOf[k];
                if (p < 0) continue;
                BlockRow row{allNames[k], in_.status.at(k, j), fit.predictable ? fit.a * score[p] + fit.b : score[p],
                             isTarget ? in_.status.actualText[k] : std::string(),
                             fit.predictable ? scale * trials.eigensd[k] : trials.eigensd[k]};
                block.rows.push_back(std::move(row));
            }
            appendLines(hooks_.log, speciesBlockLines(block));
        }
        if (isTarget && weightTest_ && isOn(settings_, Setting::ExamineWeight)) {
            weightTest_->writeLine(weightTestLine(targetText, p1, p2, fit));
            feedback_.caption(Label::Status, weightTestCaption(targetText, p1, p2, fit));
            if (!passCaption.empty()) feedback_.caption(Label::RunProgress, passCaption);
            feedback_.checkpoint();
        }
    }
    report(closingNoteLines());
    if (settings_.setting(Setting::ElMatrixOutput) == "detailed")
        appendLines(hooks_.log, adjustedMatrixLines(el.M, used.name, order));

    if (isOn(settings_, Setting::AddPrediction)) {
        if (!in_.request.sourceWritable)
            throw RunError("The prediction cannot be added to " + in_.request.sourceFile.filename().string() +
                           ": it is a GIS file. Convert it with earlylate-convert and read the vector file instead");
        const PredictionColumns columns{in_.regionviable, used, score, names, predictionTable(fits, score)};
        addPredictionToSource(in_.data, columns, in_.request.missvalue, in_.request.sourceFile, feedback_);
    }
    return PassResult{used.regno, std::move(score), std::move(fits)};
}

}  // namespace

RunStatus Engine::run(const RunRequest& request, const RunHooks& hooks) {
    SettingsSource& settings = hooks.settings;
    Feedback& feedback = hooks.feedback;
    summary_ = {};
    hooks.log.clearLog();
    if (request.species.empty()) return RunStatus::NoSpecies;
    feedback.runBusy(true);
    feedback.caption(Label::RunProgress, " 0 %");

    std::optional<WeightTestFile> weightTest;
    try {
        if (request.data == nullptr || !request.data->consistent())
            throw RunError("No complete data set is loaded");
        appendLines(hooks.log, headerLines(settings.setting(Setting::DataFileName), request.calculationDate));
        RunInput in(request, *request.data);
        in.reportMode = !isOn(settings, Setting::ExamineWeight);
        if (!in.reportMode) settings.setSetting(Setting::DoReliability, std::string(kOff));
        if (isOn(settings, Setting::DoReliability)) settings.setSetting(Setting::ExcludeLimited, std::string(kOff));

        const std::string targetText = settings.setting(Setting::TargetSpecies);
        in.table = buildSpeciesTable(in.data, request.species, targetText);
        if (in.reportMode)
            appendLines(hooks.log, speciesBlockLines(request.species,
                                                in.table.target ? std::optional<std::string>(targetText) : std::nullopt,
                                                isOn(settings, Setting::AutoWeight)));

        in.status = buildStatusMatrix(in.data, in.table, request.missvalue, hooks.messenger, feedback);
        if (in.table.target)
            splitTrainingValidation(in.status, *in.table.target, readTrainingCount(in.status.regions, settings));

        const double similarityPower = readNumberSetting(settings, Setting::WeightPower, "weight power");
        const double samplePower = readNumberSetting(settings, Setting::SampleN, "sample power");

        double first1 = similarityPower, last1 = similarityPower, first2 = samplePower, last2 = samplePower;
        if (!in.reportMode) {
            first1 = first2 = 0;
            last1 = last2 = 20;
            settings.setSetting(Setting::AddPrediction, std::string(kOff));
            settings.setSetting(Setting::SimOutput, "none");
            settings.setSetting(Setting::ElMatrixOutput, "none");
            weightTest.emplace(request.workDir, targetText);
            weightTest->writeLine(weightTestHeader(settings.setting(Setting::DataFileName), request.calculationDate));
        }

        in.comparison = compareSpecies(in.status);
        if (!in.reportMode) in.pairCodes = pairCodes(speciesCodes(in.status));
        in.regionviable = regionViable(in.status, in.targetIndex());
        for (const auto& object : in.data.objects) in.regionNames.push_back(object.name);

        PowerIteration power;
        PassRunner pass(in, hooks, random_, power, weightTest);
        PassResult last;
        const long long passes = powerStepCount(first1, last1) * powerStepCount(first2, last2);
        long long passesDone = 0;
        for (double p1 = first1; p1 <= last1; p1 += 0.1)
            for (double p2 = first2; p2 <= last2; p2 += 0.1) {
                const std::string passCaption =
                    in.reportMode ? std::string() : "Pass" + strnum(static_cast<double>(passesDone + 1)) + " of" +
                                                        strnum(static_cast<double>(passes));
                last = pass.run(p1, p2, passCaption);
                feedback.progress(ProgressStage::Passes, ++passesDone, passes);
            }

        if (weightTest) weightTest->close();
        feedback.runBusy(false);
        feedback.caption(Label::RunProgress, "100% complete");
        summary_.regno = last.regno;
        summary_.score = last.score;
        summary_.prediction = predictionTable(last.fits, last.score);
        addFigureData(summary_, in.table, in.status, in.regionNames, last.fits);
        return RunStatus::Completed;
    } catch (const Cancelled&) {
        // Every file writer below cleaned up while the exception passed; a cut-short
        // weight-test file would pass for a finished grid, so it goes too.
        if (weightTest) weightTest->discard();
        feedback.runBusy(false);
        feedback.caption(Label::RunProgress, "Cancelled");
        return RunStatus::Cancelled;
    } catch (const RunError& error) {
        hooks.messenger.message(error.what());
    } catch (const RunStopped&) {
    } catch (const std::exception& error) {
        hooks.messenger.message(std::string("The run stopped: ") + error.what());
    }
    if (weightTest) weightTest->close();
    feedback.runBusy(false);
    return RunStatus::Stopped;
}

}  // namespace el::engine
