#include "cli/batch_options.hpp"

#include "base/text.hpp"

#include <algorithm>

#include "figures/figure_file.hpp"
#include "figures/report_file.hpp"
#include "vector/text_encoding.hpp"

namespace el::batch {
namespace {

// The options that are not settings, in the order --help lists them.
struct OwnOption {
    std::string_view shortFlag, flag, argName, help;
};
constexpr OwnOption kOwnOptions[] = {
    {"-s", "--species", "A,B,C", "species analysed, in this order (default: every variable of FILE)"},
    {"", "--encoding", "NAME", "text encoding of FILE, e.g. CP932 (default: auto, UTF-8 or else CP932)"},
    {"", "--map", "FILE", "after a completed run, draw the map of the predicted dates to FILE (.png, .svg, .pdf)"},
    {"", "--map-species", "NAME", "the species the map shows (default: the target, else the first species)"},
    {"", "--map-y-down", "", "the map's y grows downwards (screen or SVG coordinates): draw it the right way up"},
    {"", "--fit-plot", "FILE", "after a completed run, draw the fit plot of the target to FILE (.png, .svg, .pdf)"},
    {"", "--weight-plot", "FILE", "after an examine-weight run, draw the heat map of the power grid to FILE"},
    {"", "--report", "FILE", "after a completed run, write its report to FILE (.pdf, or .html with SVG figures)"},
    {"", "--quiet", "", "no progress line on standard error"},
};
constexpr OwnOption kLastOptions[] = {
    {"-h", "--help", "", "show this help and exit"},
    {"", "--version", "", "show the version and exit"},
};
constexpr std::size_t kHelpColumn = 29;

// "  -t, --target NAME          help", the help text in one column for every option.
std::string optionLine(std::string_view shortFlag, std::string_view flag, std::string_view argName,
                       std::string_view help) {
    std::string left = "  " + (shortFlag.empty() ? std::string("    ") : std::string(shortFlag) + ", ") +
                       std::string(flag) + (argName.empty() ? "" : " " + std::string(argName));
    if (left.size() < kHelpColumn) left.resize(kHelpColumn, ' ');
    else left += "\n" + std::string(kHelpColumn, ' ');
    return left + std::string(help) + "\n";
}

// Checks a figure or report file name; the usage error, or "" when it is fine.
std::string fileOptionError(const std::string& option, const std::string& file) {
    if (option == "--report")
        return figures::reportFormatOf(file) ? "" : "option --report: \"" + file + "\" must end in .pdf or .html";
    return figures::figureFormatOf(file) ? "" : "option " + option + ": \"" + file + "\" must end in .png, .svg or .pdf";
}

// The rules between options, once all are read; the usage error or "".
std::string combinationError(const BatchOptions& opts) {
    if (opts.file.empty() && !opts.help && !opts.version) return "no FILE given";
    const bool drawsMap = !opts.mapFile.empty() || !opts.reportFile.empty();
    if (opts.mapSpecies && !drawsMap) return "option --map-species needs --map or --report";
    if (opts.mapYDown && !drawsMap) return "option --map-y-down needs --map or --report";
    if (!opts.weightPlotFile.empty() && opts.values.get(Setting::ExamineWeight) != kOn)
        return "option --weight-plot needs --examine-weight";
    return "";
}

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

// The figure and report options: true when `arg` is one of them, with `error` set when its
// value is missing or wrong.
template <typename TakeValue>
bool figureOption(const std::string& arg, TakeValue& takeValue, BatchOptions& opts, std::string& error) {
    std::string* file = arg == "--map"           ? &opts.mapFile
                        : arg == "--fit-plot"    ? &opts.fitPlotFile
                        : arg == "--weight-plot" ? &opts.weightPlotFile
                        : arg == "--report"      ? &opts.reportFile
                                                 : nullptr;
    if (file != nullptr) {
        error = takeValue(*file) ? fileOptionError(arg, *file) : "option " + arg + " needs a value FILE";
        return true;
    }
    if (arg == "--map-y-down") {
        opts.mapYDown = true;
        return true;
    }
    if (arg != "--map-species") return false;
    std::string name;
    if (takeValue(name)) opts.mapSpecies = name;
    else error = "option " + arg + " needs a value NAME";
    return true;
}

// An option of the settings table: true when `arg` is one, with `error` set when its value
// is missing or not one of its choices.
template <typename TakeValue>
bool settingOption(const std::string& arg, TakeValue& takeValue, BatchOptions& opts, std::string& error) {
    const SettingInfo* info = optionFor(arg);
    if (info == nullptr) return false;
    const BatchOption& b = info->batch;
    std::string value(b.switchValue);
    if (!b.argName.empty()) {
        if (!takeValue(value)) {
            error = "option " + arg + " needs a value " + std::string(b.argName);
            return true;
        }
        if (info->kind == SettingKind::Choice && !validChoice(*info, value)) {
            error = "option " + arg + " takes " + std::string(b.argName) + ", not \"" + value + "\"";
            return true;
        }
    }
    opts.values.set(info->id, value);
    if (b.alsoOn) opts.values.set(*b.alsoOn, std::string(kOn));
    if (info->id == Setting::LogFileName) opts.logToFile = true;
    return true;
}

}  // namespace

ParseResult parseCommandLine(const std::vector<std::string>& args) {
    BatchOptions opts;
    bool onlyFiles = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (onlyFiles || arg.empty() || arg[0] != '-' || arg == "-") {
            if (!opts.file.empty()) return {std::nullopt, "more than one FILE given: " + arg};
            opts.file = arg;
            continue;
        }
        if (arg == "--") {
            onlyFiles = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            opts.help = true;
            continue;
        }
        if (arg == "--version") {
            opts.version = true;
            continue;
        }
        auto takeValue = [&](std::string& into) {
            if (i + 1 >= args.size()) return false;
            into = args[++i];
            return true;
        };
        if (arg == "-s" || arg == "--species") {
            std::string value;
            if (!takeValue(value)) return {std::nullopt, "option " + arg + " needs a value"};
            opts.speciesList = value;
            continue;
        }
        if (arg == "--encoding") {
            if (!takeValue(opts.encoding)) return {std::nullopt, "option " + arg + " needs a value NAME"};
            if (!vec::encodingKnown(opts.encoding))
                return {std::nullopt, "option --encoding: unknown text encoding \"" + opts.encoding + "\""};
            continue;
        }
        if (arg == "--quiet") {
            opts.quiet = true;
            continue;
        }
        std::string error;
        if (figureOption(arg, takeValue, opts, error) || settingOption(arg, takeValue, opts, error)) {
            if (!error.empty()) return {std::nullopt, std::move(error)};
            continue;
        }
        return {std::nullopt, "unknown option: " + arg};
    }
    if (std::string error = combinationError(opts); !error.empty()) return {std::nullopt, std::move(error)};
    return {std::move(opts), {}};
}

std::vector<std::string> splitSpecies(const std::string& text) {
    if (text.empty()) return {};  // -s "": an empty species list
    return splitAtCommas(text);
}

std::string usageText() {
    std::string text =
        "usage: earlylate-batch [options] FILE\n"
        "Reads the vector file FILE, runs one forecast on it and writes the log.\n\n"
        "options:\n";
    for (const OwnOption& o : kOwnOptions) text += optionLine(o.shortFlag, o.flag, o.argName, o.help);
    for (const auto& info : settingTable()) {
        const BatchOption& b = info.batch;
        if (!b.flag.empty()) text += optionLine(b.shortFlag, b.flag, b.argName, info.help);
    }
    for (const OwnOption& o : kLastOptions) text += optionLine(o.shortFlag, o.flag, o.argName, o.help);
    text += "\nExit status: 0 completed, 1 the read or the run stopped on an error, 2 usage error,\n"
            "130 interrupted by Ctrl-C (nothing half-written is left; the -o log holds the lines so far).\n"
            "On a terminal, standard error shows the progress of the read and of the run.\n"
            "SOURCE_DATE_EPOCH, when set, fixes the date of calculation (whole seconds).\n";
    return text;
}

}  // namespace el::batch
