#include "cli/batch_run.hpp"

#include <algorithm>
#include <filesystem>

#include "base/calc_date.hpp"
#include "base/log_file.hpp"
#include "cli/batch_console.hpp"
#include "cli/batch_options.hpp"
#include "cli/figure_output.hpp"
#include "engine/engine.hpp"
#include "gis/read_source.hpp"
#include "vector/vector_file.hpp"
#include "vector/work_lock.hpp"

namespace el::batch {
namespace {

constexpr int kCompleted = 0;
constexpr int kStopped = 1;
constexpr int kUsage = 2;
constexpr int kInterrupted = 130;  // 128 + SIGINT, as shells report it
const std::string kMissValue = "null";

int usageError(std::ostream& err, const std::string& text) {
    err << "earlylate-batch: " << text << "\nTry 'earlylate-batch --help' for more information.\n";
    return kUsage;
}

// Writes the log where the options say and turns a failed save into exit status 1.
int finish(const LogList& log, const BatchOptions& opts, std::ostream& out, std::ostream& err, int status) {
    if (opts.logToFile) {
        const std::string file = opts.values.get(Setting::LogFileName);
        if (writeLogFile(file, log.lines)) {
            err << "earlylate: The log file \"" << file << "\" cannot be written\n";
            return kStopped;
        }
    } else {
        for (const auto& line : log.lines) out << line << "\n";
        out.flush();
    }
    return status;
}

void addOnce(std::vector<std::string>& list, const std::string& name) {
    if (std::find(list.begin(), list.end(), name) == list.end()) list.push_back(name);
}

}  // namespace

int runBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const BatchTerminal& terminal) {
    ParseResult parsed = parseCommandLine(args);
    if (!parsed.options) return usageError(err, parsed.error);
    BatchOptions& opts = *parsed.options;
    if (opts.help) {
        out << usageText();
        return kCompleted;
    }
    if (opts.version) {
        out << "earlylate-batch 0.1.0\n";
        return kCompleted;
    }
    bool badEpoch = false;
    const std::string date = calculationDate(&badEpoch);
    if (badEpoch) return usageError(err, "SOURCE_DATE_EPOCH must be a whole number of seconds");

    const std::filesystem::path source = opts.file;
    opts.values.set(Setting::DataFileName, source.filename().string());
    BatchConsole console(err, terminal.errIsTerminal && !opts.quiet, terminal.interrupted);
    LogList log;
    SettingValues& settings = opts.values;
    const ReadHooks readHooks{settings, console, console};
    const auto interrupted = [&] {
        console.message("Interrupted");
        return finish(log, opts, out, err, kInterrupted);
    };

    // Held from the Read to the end of the run: the outputs in the working directory and
    // the written-back source are this process's until then.
    const WorkFolderLock lock;
    if (!lock.acquired()) {
        console.message(WorkFolderLock::busyText());
        return finish(log, opts, out, err, kStopped);
    }
    SourceReadOutcome sourceRead;
    try {
        sourceRead = readSourceFile(source, kMissValue, readHooks, opts.encoding);
    } catch (const Cancelled&) {
        return interrupted();  // the Read step works in memory: nothing to remove
    }
    console.endProgress();
    const ReadOutcome& read = sourceRead.read;
    if (read.erf != 0) return finish(log, opts, out, err, kStopped);

    const auto begin = read.data.valname.begin();
    const std::vector<std::string> variables(begin, begin + read.data.valn());
    std::vector<std::string> species;
    if (opts.speciesList) {
        for (const auto& name : splitSpecies(*opts.speciesList)) {
            if (std::find(variables.begin(), variables.end(), name) == variables.end())
                return usageError(err, "\"" + name + "\" is not a variable of " + opts.file);
            addOnce(species, name);
        }
    } else {
        for (const auto& name : variables) addOnce(species, name);
    }

    FigureRequest figures{opts.mapFile, -1, opts.fitPlotFile};
    if (opts.mapSpecies) {
        const auto at = std::find(species.begin(), species.end(), *opts.mapSpecies);
        if (at == species.end())
            return usageError(err, "--map-species: \"" + *opts.mapSpecies + "\" is not among the species analysed");
        figures.mapSpecies = static_cast<int>(at - species.begin());
    }

    engine::RunRequest request;
    request.data = &read.data;
    request.species = species;
    request.sourceFile = source;
    request.sourceWritable = !sourceRead.convertedFromGis;
    request.missvalue = kMissValue;
    request.calculationDate = date;
    request.workDir = ".";
    engine::Engine engine;
    const engine::RunStatus status = engine.run(request, {settings, log, console, console});
    console.endProgress();
    if (status == engine::RunStatus::Cancelled) return interrupted();
    if (status == engine::RunStatus::Stopped) return finish(log, opts, out, err, kStopped);
    // Figures only of a run that went through all its passes: an empty species list has none.
    if (status == engine::RunStatus::Completed) {
        if (const auto failure = writeFigures(figures, read.data, engine.lastSummary())) {
            console.message(*failure);
            return finish(log, opts, out, err, kStopped);
        }
    }
    return finish(log, opts, out, err, kCompleted);
}

}  // namespace el::batch
