#include "cli/batch_options.hpp"

#include "base/text.hpp"

#include <algorithm>

#include "figures/figure_file.hpp"
#include "vector/text_encoding.hpp"

namespace el::batch {
namespace {

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
        if (arg == "--map" || arg == "--fit-plot") {
            std::string& file = arg == "--map" ? opts.mapFile : opts.fitPlotFile;
            if (!takeValue(file)) return {std::nullopt, "option " + arg + " needs a value FILE"};
            if (!figures::figureFormatOf(file))
                return {std::nullopt, "option " + arg + ": \"" + file + "\" must end in .svg or .png"};
            continue;
        }
        if (arg == "--map-species") {
            std::string name;
            if (!takeValue(name)) return {std::nullopt, "option " + arg + " needs a value NAME"};
            opts.mapSpecies = name;
            continue;
        }
        const SettingInfo* info = optionFor(arg);
        if (info == nullptr) return {std::nullopt, "unknown option: " + arg};
        const BatchOption& b = info->batch;
        std::string value(b.switchValue);
        if (!b.argName.empty()) {
            if (!takeValue(value)) return {std::nullopt, "option " + arg + " needs a value " + std::string(b.argName)};
            if (info->kind == SettingKind::Choice && !validChoice(*info, value))
                return {std::nullopt, "option " + arg + " takes " + std::string(b.argName) + ", not \"" + value + "\""};
        }
        opts.values.set(info->id, value);
        if (b.alsoOn) opts.values.set(*b.alsoOn, std::string(kOn));
        if (info->id == Setting::LogFileName) opts.logToFile = true;
    }
    if (opts.file.empty() && !opts.help && !opts.version) return {std::nullopt, "no FILE given"};
    if (opts.mapSpecies && opts.mapFile.empty()) return {std::nullopt, "option --map-species needs --map"};
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
        "options:\n"
        "  -s, --species A,B,C        species analysed, in this order (default: every variable of FILE)\n"
        "      --encoding NAME        text encoding of FILE, e.g. CP932 (default: auto, UTF-8 or else CP932)\n"
        "      --map FILE.svg|.png    after a completed run, draw the map of the predicted dates to FILE\n"
        "      --map-species NAME     the species the map shows (default: the target, else the first species)\n"
        "      --fit-plot FILE.svg|.png  after a completed run, draw the fit plot of the target to FILE\n"
        "      --quiet                no progress line on standard error\n";
    for (const auto& info : settingTable()) {
        const BatchOption& b = info.batch;
        if (b.flag.empty()) continue;
        std::string left = "  " + (b.shortFlag.empty() ? std::string() : std::string(b.shortFlag) + ", ") +
                           std::string(b.flag) + (b.argName.empty() ? "" : " " + std::string(b.argName));
        if (left.size() < 29) left.resize(29, ' ');
        else left += ' ';
        text += left + std::string(info.help) + "\n";
    }
    text += "  -h, --help                 show this help and exit\n"
            "      --version              show the version and exit\n\n"
            "Exit status: 0 completed, 1 the read or the run stopped on an error, 2 usage error,\n"
            "130 interrupted by Ctrl-C (nothing half-written is left; the -o log holds the lines so far).\n"
            "On a terminal, standard error shows the progress of the read and of the run.\n"
            "SOURCE_DATE_EPOCH, when set, fixes the date of calculation (whole seconds).\n";
    return text;
}

}  // namespace el::batch
