#include "cli/batch_options.hpp"

#include <algorithm>
#include <filesystem>

#include "base/parameter_options.hpp"
#include "base/parameters.hpp"
#include "base/text.hpp"
#include "figures/map_transform.hpp"
#include "ops/examine_weight.hpp"
#include "vector/records_options.hpp"

namespace el::batch {
namespace {

using cmdline::Option;
using Options = std::vector<Option>;

#ifdef EARLYLATE_HAVE_GIS
constexpr Capabilities kBuild{.gis = true};
#else
constexpr Capabilities kBuild{.gis = false};
#endif

// The groups of the registry in the order --help lists them.
constexpr std::array kGroups{ParamGroup::Input,   ParamGroup::Figures, ParamGroup::Tables, ParamGroup::Hindcast,
                             ParamGroup::Console, ParamGroup::Records, ParamGroup::Run,    ParamGroup::About};

bool isFileArgument(const std::string& arg) { return arg.empty() || arg[0] != '-' || arg == "-"; }

// The parameters the batch runner takes as options, in the order --help lists them.
std::vector<const Parameter*> batchParameters() {
    std::vector<const Parameter*> all;
    for (const ParamGroup group : kGroups)
        for (const Parameter* p : parametersFor(kBatch, group))
            if (!p->spelling.flag.empty()) all.push_back(p);
    return all;
}

Options allOptions(BatchOptions& opts) {
    return commandLineOptions(batchParameters(), kBatch, true, opts.params, kBuild);
}

// The typed options of the values the command line gave.
void takeValues(BatchOptions& opts) {
    const ParamValues& v = opts.params;
    opts.values = v.settings();
    if (v.given(Param::Species)) opts.speciesList = v.text(Param::Species);
    opts.logToFile = v.given(Param::LogFileName);
    opts.records = vec::recordsSourceOf(v);
    opts.encoding = v.text(Param::Encoding);
    opts.quiet = v.on(Param::Quiet);
    opts.force = v.on(Param::Force);
    opts.mapFile = v.text(Param::Map);
    if (v.given(Param::MapSpecies)) opts.mapSpecies = v.text(Param::MapSpecies);
    opts.mapYDown = v.on(Param::MapYDown);
    opts.mapExtent = v.box(Param::MapExtent);
    opts.mapLabels = v.on(Param::MapLabels);
    if (v.given(Param::MapCrs)) opts.mapCrs = v.text(Param::MapCrs);
    opts.mapPredicted = v.text(Param::MapValues) == "predicted";
    opts.mapRisk = v.text(Param::MapValues) == "risk";
    opts.fitPlotFile = v.text(Param::FitPlot);
    opts.weightPlotFile = v.text(Param::WeightPlot);
    opts.reportFile = v.text(Param::Report);
    opts.predictionsFile = v.text(Param::Predictions);
    opts.summaryFile = v.text(Param::Summary);
    opts.hindcastYears = v.numbers(Param::Hindcast);
    if (v.given(Param::HindcastTargets)) opts.hindcastTargets = v.text(Param::HindcastTargets);
    opts.hindcastTable = v.text(Param::HindcastTable);
    opts.hindcastRules = {v.whole(Param::HindcastMinBefore), v.whole(Param::HindcastMinAfter),
                          v.whole(Param::HindcastMinUnreached)};
    opts.risk = ops::riskOptionsOf(v);
    opts.help = v.on(Param::Help);
    opts.version = v.on(Param::Version);
}

cmdline::Grammar batchGrammar(BatchOptions& opts) {
    cmdline::Grammar grammar;
    grammar.isOperand = isFileArgument;
    grammar.operand = [&opts](const std::string& arg) {
        const std::string error = opts.file.empty() ? "" : "more than one FILE given: " + arg;
        opts.file = arg;
        return error;
    };
    grammar.doubleDashEndsOptions = true;
    grammar.unknown = [](const std::string& written, const std::string&) { return "unknown option: " + written; };
    grammar.missingValue = [](const std::string& written, const Option& option) {
        return "option " + written + " needs a value" + (option.expects.empty() ? "" : " " + option.expects);
    };
    grammar.repeated = [](const std::string& written) { return "option " + written + " given twice"; };
    return grammar;
}

// True when two names lead to the same file (which need not exist yet).
bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return !a.empty() && !b.empty() && std::filesystem::weakly_canonical(a, ec) == std::filesystem::weakly_canonical(b, ec);
}

// The rules between options, once all are read; the usage error or "".
std::string combinationError(const BatchOptions& opts) {
    if (opts.mapCrs)
        if (const auto problem = figures::mapCrsProblem(*opts.mapCrs)) return "option --map-crs: " + *problem;
    if (std::string error = vec::recordsCombinationError(opts.records, opts.file); !error.empty()) return error;
    if (opts.input().empty() && !opts.help && !opts.version) return "no FILE given";
    std::vector<const std::string*> outputs = ops::riskFiles(opts.risk);
    outputs.insert(outputs.begin(), {&opts.predictionsFile, &opts.summaryFile, &opts.hindcastTable});
    for (const std::string* output : outputs)
        if (sameFile(*output, opts.input())) return "\"" + *output + "\" is the input FILE: name another file for the table";
    const bool drawsMap = !opts.mapFile.empty() || !opts.reportFile.empty();
    if (opts.mapSpecies && !drawsMap) return "option --map-species needs --map or --report";
    if (opts.mapYDown && !drawsMap) return "option --map-y-down needs --map or --report";
    if (opts.mapExtent && !drawsMap) return "option --map-extent needs --map or --report";
    if (opts.mapLabels && !drawsMap) return "option --map-labels needs --map or --report";
    if (opts.mapCrs && !drawsMap) return "option --map-crs needs --map or --report";
    if (opts.mapRisk && !opts.risk.horizon) return "option --map-values risk needs --risk-horizon H";
    if (opts.mapRisk && opts.values.get(Setting::TargetSpecies).empty())
        return "option --map-values risk needs a target species (-t NAME)";
    if (ops::weightPlotRefusal(opts.weightPlotFile, opts.values)) return "option --weight-plot needs --examine-weight";
    const bool severalTargets = opts.hindcastTargets || !opts.hindcastTable.empty();
    if (severalTargets && opts.hindcastYears.empty())
        return std::string(opts.hindcastTargets ? "option --hindcast-targets" : "option --hindcast-table") +
               " needs --hindcast Y[,Y...]";
    if (!opts.hindcastYears.empty() && !opts.hindcastTargets && opts.values.get(Setting::TargetSpecies).empty())
        return "option --hindcast needs a target species (-t NAME) or --hindcast-targets";
    return ops::riskCombinationError(opts.risk,
                                     {!opts.values.get(Setting::TargetSpecies).empty(), !opts.hindcastYears.empty()});
}

// One line of the option list: the option, the setting it changes with that setting's
// start-up value (empty for the options of the batch runner alone), and what it does.
struct HelpRow {
    std::string option;
    std::string startup;
    std::string help;
};

constexpr std::size_t kOptionColumn = 34;  // a longer option gets a line of its own

std::string optionText(std::string_view shortFlag, std::string_view flag, std::string_view argName) {
    std::string text = shortFlag.empty() ? "      " : "  " + std::string(shortFlag) + ", ";
    text += flag;
    if (!argName.empty()) text.append(" ").append(argName);  // not " " + text: GCC 12 -Wrestrict at -O2
    return text;
}

// The default of the run setting `p` is kept as, as the help's middle column shows it; "" for
// the options of the batch runner alone.
std::string startupColumn(const Parameter& p) {
    if (!p.setting) return "";
    return std::string(p.name) + "=" + (p.defaultValue.empty() ? std::string("\"\"") : std::string(p.defaultValue));
}

std::vector<HelpRow> helpRows() {
    std::vector<HelpRow> rows;
    for (const Parameter* p : batchParameters())
        rows.push_back({optionText(p->spelling.shortFlag, p->spelling.flag, p->spelling.argName), startupColumn(*p),
                        helpText(*p, kBatch)});
    return rows;
}

// The rows in three aligned columns.
std::string helpColumns(const std::vector<HelpRow>& rows) {
    std::size_t startupWidth = 0;
    for (const HelpRow& row : rows) startupWidth = std::max(startupWidth, row.startup.size() + 2);
    std::string text;
    for (const HelpRow& row : rows) {
        std::string line = row.option;
        if (line.size() + 2 > kOptionColumn) {
            text += line + "\n";
            line.clear();
        }
        line.resize(kOptionColumn, ' ');
        line += row.startup;
        line.resize(kOptionColumn + startupWidth, ' ');
        text += line + row.help + "\n";
    }
    return text;
}

}  // namespace

ParseResult parseCommandLine(const std::vector<std::string>& args) {
    BatchOptions opts;
    const Options options = allOptions(opts);
    if (std::string error = cmdline::readArguments(args, options, batchGrammar(opts)); !error.empty())
        return {std::nullopt, std::move(error)};
    takeValues(opts);
    if (std::string error = combinationError(opts); !error.empty()) return {std::nullopt, std::move(error)};
    return {std::move(opts), {}};
}

std::vector<cmdline::Option> optionTable(BatchOptions& opts) { return allOptions(opts); }

std::vector<std::string> splitSpecies(const std::string& text) {
    if (text.empty()) return {};  // -s "": an empty species list
    return splitAtCommas(text);
}

std::string usageText() {
    return "usage: earlylate-batch [options] FILE\n"
           "       earlylate-batch [options] --records TABLE [--regions LAYER]\n"
           "Reads the vector file FILE (or builds the data set from a records table), runs one forecast\n"
           "on it and writes the log.\n\n"
           "options (the middle column names the setting an option changes, with its start-up value):\n" +
           helpColumns(helpRows()) +
           "\nExit status: 0 completed, 1 the read or the run stopped on an error, 2 usage error,\n"
           "130 interrupted by Ctrl-C (nothing half-written is left; the -o log holds the lines so far).\n"
           "On a terminal, standard error shows the progress of the read and of the run.\n"
           "SOURCE_DATE_EPOCH, when set, fixes the date of calculation (whole seconds).\n";
}

}  // namespace el::batch
