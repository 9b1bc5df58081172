#include "cli/batch_run.hpp"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "base/calc_date.hpp"
#include "base/file_lock.hpp"
#include "base/log_file.hpp"
#include "base/text.hpp"
#include "cli/batch_console.hpp"
#include "cli/batch_options.hpp"
#include "cli/file_digest.hpp"
#include "engine/model/run_error.hpp"
#include "engine/run/engine.hpp"
#include "engine/run/name_match.hpp"
#include "engine/run/species_choice.hpp"
#include "ops/figure_files.hpp"
#include "ops/forecast.hpp"
#include "ops/hindcast.hpp"
#include "ops/input_review.hpp"
#include "ops/load.hpp"
#include "ops/output_refusals.hpp"
#include "ops/run_outputs.hpp"
#include "vector/records.hpp"
#include "vector/vector_file.hpp"

namespace el::batch {
namespace {

// Where the batch runner's side files go (the side log of a failed scan, the weight-test
// file): its working folder.
constexpr const char* kWorkFolder = ".";

constexpr int kCompleted = 0;
constexpr int kStopped = 1;
constexpr int kUsage = 2;
constexpr int kInterrupted = 130;  // 128 + SIGINT, as shells report it

int usageError(std::ostream& err, const std::string& text) {
    err << "earlylate-batch: " << text << "\nTry 'earlylate-batch --help' for more information.\n";
    return kUsage;
}

// --help or --version.
int showAbout(const BatchOptions& opts, std::ostream& out) {
    out << (opts.help ? usageText() : std::string("earlylate-batch " EARLYLATE_VERSION "\n"));
    return kCompleted;
}

// A choice made from the command line and the data read, or the usage error it gives.
template <typename T>
struct Chosen {
    T value{};
    std::string usageError;  // empty when the choice is sound
};

// The -s names as "-->" adds them (a repeat once), else every variable of the file.
Chosen<std::vector<std::string>> chooseSpecies(const BatchOptions& opts, const vec::VectorData& data) {
    std::optional<std::vector<std::string>> given;
    if (opts.speciesList) given = splitSpecies(*opts.speciesList);
    engine::SpeciesChoice choice = engine::chooseSpecies(data, given, opts.input());
    return {std::move(choice.species), std::move(choice.error)};
}

Chosen<ops::FigureRequest> chooseFigures(const BatchOptions& opts, const std::vector<std::string>& species) {
    Chosen<ops::FigureRequest> figures;
    figures.value.mapFile = opts.mapFile;
    figures.value.mapYDown = opts.mapYDown;
    figures.value.fitPlotFile = opts.fitPlotFile;
    figures.value.weightPlotFile = opts.weightPlotFile;
    figures.value.reportFile = opts.reportFile;
    figures.value.mapExtent = opts.mapExtent;
    figures.value.mapLabels = opts.mapLabels;
    figures.value.mapCrs = opts.mapCrs;
    figures.value.mapPredicted = opts.mapPredicted;
    figures.value.mapRisk = opts.mapRisk;
    if (!opts.mapSpecies) return figures;
    const auto at = std::find(species.begin(), species.end(), *opts.mapSpecies);
    if (at == species.end()) return {{}, "option --map-species: " + engine::noSpeciesNamed(*opts.mapSpecies, species)};
    figures.value.mapSpecies = static_cast<int>(at - species.begin());
    return figures;
}

// The figures a data set without geometry cannot have: taken out of the request, each
// with the message that says why.
std::vector<std::string> withoutMap(ops::FigureRequest& request, const vec::VectorData& data) {
    std::vector<std::string> refused;
    for (std::string* file : {&request.mapFile, &request.reportFile}) {
        if (file->empty()) continue;
        const auto refusal = ops::mapRefusal(*file, data);
        if (!refusal) continue;
        refused.push_back(refusal->text);
        file->clear();
    }
    return refused;
}

// The hindcasts the options ask for, as the checks before the run see them: the target's
// (when one is given) and that over several species, whose candidates are those
// --hindcast-targets names, else the target when a hindcast table is asked for.
ops::HindcastRequest hindcastRequest(const BatchOptions& opts, const vec::VectorData& data,
                                     const std::vector<std::string>& species) {
    ops::HindcastRequest request;
    request.data = &data;
    request.species = species;
    request.settings = opts.values;
    request.years = opts.hindcastYears;
    request.targetYears = !opts.values.get(Setting::TargetSpecies).empty();
    if (opts.hindcastTargets)
        request.targets =
            *opts.hindcastTargets == "all" ? std::vector<std::string>{"all"} : splitAtCommas(*opts.hindcastTargets);
    else if (!opts.hindcastTable.empty())
        request.targets = std::vector<std::string>{opts.values.get(Setting::TargetSpecies)};
    request.rules = opts.hindcastRules;
    return request;
}

// The candidates of the hindcast over several species, or the usage error of the first
// refusal of the hindcasts asked for.
Chosen<std::vector<std::string>> chooseHindcastTargets(const BatchOptions& opts, const vec::VectorData& data,
                                                       const std::vector<std::string>& species) {
    if (opts.hindcastYears.empty() || species.empty()) return {};  // no run, no hindcast
    const ops::HindcastRequest request = hindcastRequest(opts, data, species);
    const ops::Diagnostics checked = ops::checkHindcast(request);
    if (const ops::Diagnostic* refusal = ops::firstRefusal(checked)) return {{}, ops::batchUsageText(*refusal)};
    return {ops::hindcastCandidates(request), {}};
}

// A refusal before the run, as the usage error it is: the option at fault named. The
// similarity output is refused before the run, which would spend its time and memory on it.
std::string usageText(const ops::Diagnostic& refusal) {
    if (refusal.kind == ops::DiagnosticKind::OversizedSimilarityOutput)
        return "option --similarity-output: " + refusal.text + "; give --force to write it anyway";
    return "option -t: " + refusal.text;
}

// One batch process after its command line: the Read, the run, the figures and the log.
class BatchSession {
public:
    BatchSession(BatchOptions& opts, std::ostream& out, std::ostream& err, const BatchTerminal& terminal)
        : opts_(opts), out_(out), err_(err),
          console_(err, terminal.errIsTerminal && !opts.quiet, terminal.interrupted) {}

    int run(const std::string& date);

private:
    std::optional<int> readAndTell(ops::LoadResult& read);
    ops::LoadRequest loadRequest() const;
    void tellImported(const std::vector<std::string>& summary, const vec::VectorData& built);
    ops::ForecastRequest forecastRequest(const ops::LoadResult& source, const std::vector<std::string>& species,
                                         const std::string& date) const;
    ops::ForecastResult runForecast(const ops::ForecastRequest& request);
    int afterRun(const ops::AfterRunContext& context, const std::vector<std::string>& hindcastTargets,
                 const ops::FigureRequest& figures, const ops::CompletedRun& completed);
    void tellSkill(const vec::VectorData& data, const engine::RunResult& result);
    int finish(int status);
    int interrupted() {
        console_.message("Interrupted");
        return finish(kInterrupted);
    }

    BatchOptions& opts_;
    std::ostream& out_;
    std::ostream& err_;
    BatchConsole console_;
    LogList log_;
};

int BatchSession::run(const std::string& date) {
    const std::filesystem::path source = opts_.input();
    opts_.values.set(Setting::DataFileName, source.filename().string());
    // Held from the Read to the end of the run: no other process reads the source to write
    // it back until this one has written its prediction into it.
    const FileLock lock(source);
    if (!lock.acquired()) {
        console_.message(FileLock::busyText(source));
        return finish(kStopped);
    }
    ops::LoadResult read;
    if (const auto status = readAndTell(read)) return *status;
    // Before the run, which may write the prediction back into the file.
    const auto digest = opts_.summaryFile.empty() ? std::nullopt : sha256OfFile(source);

    auto species = chooseSpecies(opts_, read.read.data);
    if (!species.usageError.empty()) return usageError(err_, species.usageError);
    const auto figures = chooseFigures(opts_, species.value);
    if (!figures.usageError.empty()) return usageError(err_, figures.usageError);
    const ops::ForecastRequest request = forecastRequest(read, species.value, date);
    const ops::Diagnostics checked = ops::checkForecast(request, opts_.values, {.force = opts_.force});
    if (const ops::Diagnostic* refusal = ops::firstRefusal(checked)) return usageError(err_, usageText(*refusal));
    for (const std::string& warning : ops::consoleTexts(checked)) console_.message(warning);
    const auto hindcastTargets = chooseHindcastTargets(opts_, read.read.data, species.value);
    if (!hindcastTargets.usageError.empty()) return usageError(err_, hindcastTargets.usageError);

    const SettingValues given = opts_.values;  // the hindcast runs start from the settings as given
    const ops::ForecastResult forecast = runForecast(request);
    const engine::RunResult& result = forecast.run;
    if (result.status == engine::RunStatus::Cancelled) return interrupted();
    if (result.status == engine::RunStatus::Stopped) return finish(kStopped);
    // Figures only of a run that went through all its passes: an empty species list has none.
    if (result.status == engine::RunStatus::Completed) {
        ops::FigureRequest drawn = figures.value;
        const std::vector<std::string> refused = withoutMap(drawn, read.read.data);
        for (const std::string& text : refused) console_.message(text);
        if (const auto warning = ops::mapCrsWarning(drawn, read.read.data)) console_.message(*warning);
        const ops::CompletedRun completed{read.read.data, result, opts_.values, opts_.input(), date};
        if (const auto failure = ops::writeFigures(drawn, completed)) {
            console_.message(*failure);
            return finish(kStopped);
        }
        tellSkill(read.read.data, result);
        const int status = afterRun(
            {read.read.data, result, given, opts_.values, kMissValue, opts_.input(), digest, date, forecast.seconds},
            hindcastTargets.value, drawn, completed);
        return status == kCompleted && !refused.empty() ? kStopped : status;
    }
    return finish(kCompleted);
}

// The Read and what it tells on standard error; the exit status when it gave no data set.
std::optional<int> BatchSession::readAndTell(ops::LoadResult& read) {
    try {
        read = ops::load(loadRequest(), {opts_.values, console_, console_},
                         [this](const std::vector<std::string>& summary, const vec::VectorData& built) {
                             tellImported(summary, built);
                         });
    } catch (const Cancelled&) {
        return interrupted();  // the Read step works in memory: nothing to remove
    }
    console_.endProgress();
    for (const ops::Diagnostic& diagnostic : read.diagnostics) {
        if (diagnostic.kind == ops::DiagnosticKind::TableNotVectorFile)
            err_ << ops::tableAdvice(diagnostic, "--records " + opts_.file) << "\n";
        // First: a name that names nothing may be a name read in the wrong encoding.
        if (diagnostic.kind == ops::DiagnosticKind::EncodingGuess)
            console_.message(diagnostic.text + "; use --encoding to choose another");
    }
    if (!read.loaded()) return finish(kStopped);
    return std::nullopt;
}

ops::LoadRequest BatchSession::loadRequest() const {
    ops::LoadRequest request;
    if (opts_.fromRecords()) request.records = opts_.records;
    else request.file = opts_.file;
    request.missvalue = kMissValue;
    request.encoding = opts_.encoding;
    request.sideFolder = kWorkFolder;
    return request;
}

// A records import's summary lines go to standard error before any message of the Read.
void BatchSession::tellImported(const std::vector<std::string>& summary, const vec::VectorData& built) {
    console_.endProgress();
    for (const std::string& line : summary) err_ << line << "\n";
    if (!opts_.hindcastYears.empty())
        if (const auto warning = ops::distanceBaselineWarning(built)) console_.message(warning->text);
}

// A target whose dates have no skill is said so on standard error; the log is left alone.
void BatchSession::tellSkill(const vec::VectorData& data, const engine::RunResult& result) {
    if (const auto warning = ops::skillWarning(data, result)) console_.message(warning->text);
}

// The tables, the hindcasts, the summary and the report asked for; exit status 1 when one of
// them failed. The report comes last: it shows the hindcasts.
int BatchSession::afterRun(const ops::AfterRunContext& context, const std::vector<std::string>& hindcastTargets,
                           const ops::FigureRequest& figures, const ops::CompletedRun& completed) {
    const ops::AfterRunRequest request{
        opts_.predictionsFile, opts_.summaryFile,   opts_.hindcastYears,        hindcastTargets,
        opts_.hindcastTable,   opts_.hindcastRules, context.result.target >= 0, opts_.risk};
    ops::AfterRunOutputs made;
    try {
        made = ops::writeOutputs(request, context, figures, completed, log_, console_);
    } catch (const Cancelled&) {
        return interrupted();
    }
    console_.endProgress();
    for (const ops::Diagnostic& notice : made.notices) console_.message(notice.text);
    for (const ops::Diagnostic& failure : made.failures) console_.message(failure.text);
    return finish(made.failures.empty() ? kCompleted : kStopped);
}

ops::ForecastRequest BatchSession::forecastRequest(const ops::LoadResult& source,
                                                   const std::vector<std::string>& species,
                                                   const std::string& date) const {
    ops::ForecastRequest request;
    request.data = &source.read.data;
    request.species = species;
    request.source = opts_.input();
    if (source.convertedFromGis) request.unwritableSource = opts_.fromRecords() ? "a records table" : "a GIS file";
    request.missvalue = kMissValue;
    request.calculationDate = date;
    request.workFolder = kWorkFolder;
    return request;
}

ops::ForecastResult BatchSession::runForecast(const ops::ForecastRequest& request) {
    engine::Engine engine;
    ops::ForecastResult result = ops::forecast(engine, request, {opts_.values, log_, console_, console_});
    console_.endProgress();
    return result;
}

// Writes the log where the options say and turns a failed save into exit status 1.
int BatchSession::finish(int status) {
    if (opts_.logToFile) {
        const std::string file = opts_.values.get(Setting::LogFileName);
        if (writeLogFile(file, log_.lines)) {
            err_ << "earlylate: The log file \"" << file << "\" cannot be written\n";
            return kStopped;
        }
    } else {
        for (const auto& line : log_.lines) out_ << line << "\n";
        out_.flush();
    }
    return status;
}

}  // namespace

int runBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const BatchTerminal& terminal) {
    ParseResult parsed = parseCommandLine(args);
    if (!parsed.options) return usageError(err, parsed.error);
    BatchOptions& opts = *parsed.options;
    if (opts.help || opts.version) return showAbout(opts, out);
    bool badEpoch = false;
    const std::string date = calculationDate(&badEpoch);
    if (badEpoch) return usageError(err, "SOURCE_DATE_EPOCH must be a whole number of seconds");
    return BatchSession(opts, out, err, terminal).run(date);
}

}  // namespace el::batch
