#include "cli/batch_options.hpp"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string_view>

#include "base/numtext.hpp"
#include "base/text.hpp"
#include "vector/records_options.hpp"
#include "cli/table_files.hpp"
#include "figures/figure_file.hpp"
#include "figures/report_file.hpp"
#include "vector/text_encoding.hpp"

namespace el::batch {
namespace {

// The arguments one after the other; an option takes its value from the next one.
class ArgReader {
public:
    explicit ArgReader(const std::vector<std::string>& args) : args_(args) {}
    bool done() const { return at_ >= args_.size(); }
    const std::string& next() { return args_[at_++]; }
    bool takeValue(std::string& into) {
        if (done()) return false;
        into = next();
        return true;
    }

private:
    const std::vector<std::string>& args_;
    std::size_t at_ = 0;
};

bool isFileArgument(const std::string& arg) { return arg.empty() || arg[0] != '-' || arg == "-"; }

const SettingInfo* optionFor(const std::string& arg) {
    for (const auto& info : settingTable()) {
        const BatchOption& b = info.batch;
        if (b.flag.empty()) continue;
        if (arg == b.flag || (!b.shortFlag.empty() && arg == b.shortFlag)) return &info;
    }
    return nullptr;
}

bool validChoice(const SettingInfo& info, const std::string& value) {
    return std::any_of(info.choices.begin(), info.choices.end(),
                       [&](const Choice& c) { return c.value == value; });
}

std::string valueError(const std::string& arg, const std::string& argName) {
    return "option " + arg + " needs a value" + (argName.empty() ? "" : " " + argName);
}

// Checks a figure or report file name; the usage error, or "" when it is fine.
std::string fileOptionError(const std::string& option, const std::string& file) {
    if (option == "--report")
        return figures::reportFormatOf(file) ? "" : "option --report: \"" + file + "\" must end in .pdf or .html";
    return figures::figureFormatOf(file) ? "" : "option " + option + ": \"" + file + "\" must end in .png, .svg or .pdf";
}

// The figure and report files: nothing when `arg` is none of them, else "" or the usage error.
std::optional<std::string> fileOption(const std::string& arg, ArgReader& in, BatchOptions& opts) {
    std::string* file = arg == "--map"           ? &opts.mapFile
                        : arg == "--fit-plot"    ? &opts.fitPlotFile
                        : arg == "--weight-plot" ? &opts.weightPlotFile
                        : arg == "--report"      ? &opts.reportFile
                                                 : nullptr;
    if (file == nullptr) return std::nullopt;
    if (!in.takeValue(*file)) return valueError(arg, "FILE");
    return fileOptionError(arg, *file);
}

// "xmin,ymin,xmax,ymax": four numbers, each minimum below its maximum; "" or the usage error.
std::string parseExtent(const std::string& text, std::optional<std::array<double, 4>>& extent) {
    const std::vector<std::string> fields = splitAtCommas(text);
    const std::string bad = "option --map-extent takes xmin,ymin,xmax,ymax, not \"" + text + "\"";
    if (fields.size() != 4) return bad + ": four numbers are needed";
    std::array<double, 4> value{};
    for (std::size_t i = 0; i < 4; ++i) {
        const auto number = parseNumber(fields[i]);
        if (!number) return bad + ": \"" + fields[i] + "\" is not a number";
        value[i] = *number;
    }
    if (!(value[0] < value[2]) || !(value[1] < value[3])) return bad + ": each minimum must lie below its maximum";
    extent = value;
    return {};
}

// How the map is drawn: nothing when `arg` is none of these options, else "" or the usage error.
std::optional<std::string> mapOption(const std::string& arg, ArgReader& in, BatchOptions& opts) {
    if (arg == "--map-y-down") opts.mapYDown = true;
    else if (arg == "--map-labels") opts.mapLabels = true;
    else if (arg == "--map-extent") {
        std::string text;
        if (!in.takeValue(text)) return valueError(arg, "XMIN,YMIN,XMAX,YMAX");
        return parseExtent(text, opts.mapExtent);
    } else if (arg == "--map-values") {
        std::string text;
        if (!in.takeValue(text)) return valueError(arg, "known|predicted");
        if (text != "known" && text != "predicted")
            return "option --map-values takes known or predicted, not \"" + text + "\"";
        opts.mapPredicted = text == "predicted";
    } else {
        return std::nullopt;
    }
    return std::string();
}

// A whole number of at least 0 for a --hindcast-min-* option; "" or the usage error.
std::string countOption(const std::string& arg, ArgReader& in, int& into) {
    std::string text;
    if (!in.takeValue(text)) return valueError(arg, "N");
    const auto value = parseNumber(text);
    if (!value || *value != std::floor(*value) || *value < 0 || *value > 1e9)
        return "option " + arg + " takes a whole number of at least 0, not \"" + text + "\"";
    into = static_cast<int>(*value);
    return "";
}

// The options of a hindcast over several species: nothing when `arg` is none of them,
// else "" or the usage error.
std::optional<std::string> hindcastTargetOption(const std::string& arg, ArgReader& in, BatchOptions& opts) {
    if (arg == "--hindcast-targets") {
        std::string names;
        if (!in.takeValue(names)) return valueError(arg, "all|A,B,...");
        if (names.empty()) return "option --hindcast-targets needs at least one species name, or all";
        opts.hindcastTargets = names;
        return std::string();
    }
    if (arg == "--hindcast-table") {
        if (!in.takeValue(opts.hindcastTable)) return valueError(arg, "FILE");
        if (asciiLower(std::filesystem::path(opts.hindcastTable).extension().string()) != ".csv")
            return "option --hindcast-table: \"" + opts.hindcastTable + "\" must end in .csv";
        return std::string();
    }
    engine::HindcastEligibility& rules = opts.hindcastRules;
    if (arg == "--hindcast-min-before") return countOption(arg, in, rules.minBefore);
    if (arg == "--hindcast-min-after") return countOption(arg, in, rules.minAfter);
    if (arg == "--hindcast-min-unreached") return countOption(arg, in, rules.minUnreached);
    return std::nullopt;
}

// The tables for other programs: nothing when `arg` is none of them, else "" or the usage error.
std::optional<std::string> tableOption(const std::string& arg, ArgReader& in, BatchOptions& opts) {
    if (arg == "--predictions") {
        if (!in.takeValue(opts.predictionsFile)) return valueError(arg, "FILE");
        return predictionsFileError(opts.predictionsFile);
    }
    if (arg == "--summary") {
        if (!in.takeValue(opts.summaryFile)) return valueError(arg, "FILE");
        if (asciiLower(std::filesystem::path(opts.summaryFile).extension().string()) != ".json")
            return "option --summary: \"" + opts.summaryFile + "\" must end in .json";
        return std::string();
    }
    if (arg != "--hindcast") return hindcastTargetOption(arg, in, opts);
    std::string years;
    if (!in.takeValue(years)) return valueError(arg, "Y[,Y...]");
    opts.hindcastYears.clear();
    for (const std::string& year : splitAtCommas(years)) {
        const auto value = parseNumber(year);
        if (!value) return "option --hindcast: \"" + year + "\" is not a year";
        opts.hindcastYears.push_back(*value);
    }
    return std::string();
}

// True when two names lead to the same file (which need not exist yet).
bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return !a.empty() && !b.empty() && std::filesystem::weakly_canonical(a, ec) == std::filesystem::weakly_canonical(b, ec);
}

// The rules between options, once all are read; the usage error or "".
std::string combinationError(const BatchOptions& opts) {
    if (std::string error = vec::recordsCombinationError(opts.records, opts.file); !error.empty()) return error;
    if (opts.input().empty() && !opts.help && !opts.version) return "no FILE given";
    for (const std::string* output : {&opts.predictionsFile, &opts.summaryFile, &opts.hindcastTable})
        if (sameFile(*output, opts.input())) return "\"" + *output + "\" is the input FILE: name another file for the table";
    const bool drawsMap = !opts.mapFile.empty() || !opts.reportFile.empty();
    if (opts.mapSpecies && !drawsMap) return "option --map-species needs --map or --report";
    if (opts.mapYDown && !drawsMap) return "option --map-y-down needs --map or --report";
    if (opts.mapExtent && !drawsMap) return "option --map-extent needs --map or --report";
    if (opts.mapLabels && !drawsMap) return "option --map-labels needs --map or --report";
    if (!opts.weightPlotFile.empty() && opts.values.get(Setting::ExamineWeight) != kOn)
        return "option --weight-plot needs --examine-weight";
    const bool severalTargets = opts.hindcastTargets || !opts.hindcastTable.empty();
    if (severalTargets && opts.hindcastYears.empty())
        return std::string(opts.hindcastTargets ? "option --hindcast-targets" : "option --hindcast-table") +
               " needs --hindcast Y[,Y...]";
    if (!opts.hindcastYears.empty() && !opts.hindcastTargets && opts.values.get(Setting::TargetSpecies).empty())
        return "option --hindcast needs a target species (-t NAME) or --hindcast-targets";
    return "";
}

// The options that set no setting: nothing when `arg` is none of them, else "" or the usage error.
std::optional<std::string> ownOption(const std::string& arg, ArgReader& in, BatchOptions& opts) {
    if (arg == "-h" || arg == "--help") opts.help = true;
    else if (arg == "--version") opts.version = true;
    else if (arg == "--quiet") opts.quiet = true;
    else if (auto map = mapOption(arg, in, opts)) return map;
    else if (auto file = fileOption(arg, in, opts)) return file;
    else if (auto table = tableOption(arg, in, opts)) return table;
    else if (auto recordsError = vec::recordsOption(
                 arg, [&in]() { std::string value; return in.takeValue(value) ? std::optional(value) : std::nullopt; },
                 opts.records))
        return recordsError;
    else if (arg == "-s" || arg == "--species" || arg == "--map-species") {
        std::string value;
        if (!in.takeValue(value)) return valueError(arg, arg == "--map-species" ? "NAME" : "");
        (arg == "--map-species" ? opts.mapSpecies : opts.speciesList) = value;
    } else if (arg == "--encoding") {
        if (!in.takeValue(opts.encoding)) return valueError(arg, "NAME");
        if (!vec::encodingKnown(opts.encoding))
            return "option --encoding: unknown text encoding \"" + opts.encoding + "\"";
    } else {
        return std::nullopt;
    }
    return std::string();
}

// An option of the settings table; "" or the usage error.
std::string settingOption(const std::string& arg, ArgReader& in, BatchOptions& opts) {
    const SettingInfo* info = optionFor(arg);
    if (info == nullptr) return "unknown option: " + arg;
    const BatchOption& b = info->batch;
    std::string value(b.switchValue);
    if (!b.argName.empty()) {
        if (!in.takeValue(value)) return valueError(arg, std::string(b.argName));
        if (info->kind == SettingKind::Choice && !validChoice(*info, value))
            return "option " + arg + " takes " + std::string(b.argName) + ", not \"" + value + "\"";
        if (info->id == Setting::Threads && !threadCountOf(value))
            return "option " + arg + " takes a whole number from 1 to " + std::to_string(kMaxThreads) + ", not \"" +
                   value + "\"";
    }
    opts.values.set(info->id, value);
    if (b.alsoOn) opts.values.set(*b.alsoOn, std::string(kOn));
    if (info->id == Setting::LogFileName) opts.logToFile = true;
    return {};
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

std::vector<HelpRow> helpRows() {
    std::vector<HelpRow> rows{
        {optionText("-s", "--species", "A,B,C"), "", "species analysed, in this order (default: every variable of FILE)"},
        {optionText("", "--encoding", "NAME"), "", "text encoding of FILE, e.g. CP932 or WINDOWS-1252 (default: auto, UTF-8 or else the "
         "encoding the detector names, CP932 when it names none; the one assumed is named on standard error)"},
        {optionText("", "--map", "FILE"), "", "after a completed run, draw the map of the dates to FILE (.png, .svg, .pdf)"},
        {optionText("", "--map-species", "NAME"), "",
         "the species the map shows (default: the target, else the first species)"},
        {optionText("", "--map-y-down", ""), "", "the map's y grows downwards (screen or SVG coordinates): draw it the right way up"},
        {optionText("", "--map-values", "known|predicted"), "",
         "known (default): the target's recorded dates solid, its predicted dates pale and hatched, overdue regions "
         "ringed; predicted: every region by its predicted date"},
        {optionText("", "--map-extent", "XMIN,YMIN,XMAX,YMAX"), "",
         "the frame of the map and the report's map in map units (default: the box of the regions' main parts)"},
        {optionText("", "--map-labels", ""), "", "write region names on the map where they fit"},
        {optionText("", "--fit-plot", "FILE"), "", "after a completed run, draw the fit plot of the target to FILE (.png, .svg, .pdf)"},
        {optionText("", "--weight-plot", "FILE"), "", "after an examine-weight run, draw the heat map of the power grid to FILE"},
        {optionText("", "--report", "FILE"), "", "after a completed run, write its report to FILE (.pdf, or .html with SVG figures)"},
        {optionText("", "--predictions", "FILE"), "",
         "after a completed run, write one row per region to FILE (.csv, or a GIS layer: .gpkg, .geojson, .shp)"},
        {optionText("", "--summary", "FILE"), "", "after a completed run, write its summary to FILE (.json)"},
        {optionText("", "--hindcast", "Y[,Y...]"), "",
         "after the run, forecast from the data up to each year Y and score it on the later arrivals (needs -t)"},
        {optionText("", "--hindcast-targets", "all|A,B"), "",
         "hindcast with each eligible species named (all: every species analysed) as the target in turn"},
        {optionText("", "--hindcast-table", "FILE"), "",
         "write one row of hindcast figures per species and year to FILE (.csv)"},
        {optionText("", "--hindcast-min-before", "N"), "",
         "a species is hindcast at Y with at least N regions dated up to Y (default 5)"},
        {optionText("", "--hindcast-min-after", "N"), "", "... and at least N regions dated after Y (default 3)"},
        {optionText("", "--hindcast-min-unreached", "N"), "",
         "... and at least N regions it never reached (default 1)"},
        {optionText("", "--quiet", ""), "", "no progress line on standard error"}};
    for (const auto& [option, help] : vec::recordsHelp()) rows.push_back({"      " + option, "", help});
    for (const auto& info : settingTable()) {
        const BatchOption& b = info.batch;
        if (b.flag.empty()) continue;
        const std::string startup = info.startup.empty() ? "\"\"" : std::string(info.startup);
        rows.push_back({optionText(b.shortFlag, b.flag, b.argName), std::string(info.name) + "=" + startup,
                        std::string(info.help)});
    }
    rows.push_back({optionText("-h", "--help", ""), "", "show this help and exit"});
    rows.push_back({optionText("", "--version", ""), "", "show the version and exit"});
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
    ArgReader in(args);
    bool onlyFiles = false;
    while (!in.done()) {
        const std::string& arg = in.next();
        std::string error;
        if (onlyFiles || isFileArgument(arg)) {
            if (!opts.file.empty()) error = "more than one FILE given: " + arg;
            opts.file = arg;
        } else if (arg == "--") {
            onlyFiles = true;
        } else if (const auto own = ownOption(arg, in, opts)) {
            error = *own;
        } else {
            error = settingOption(arg, in, opts);
        }
        if (!error.empty()) return {std::nullopt, error};
    }
    opts.records.encoding = opts.encoding;
    if (std::string error = combinationError(opts); !error.empty()) return {std::nullopt, std::move(error)};
    return {std::move(opts), {}};
}

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
