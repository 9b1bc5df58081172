#include "cli/batch_options.hpp"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string_view>

#include "base/numtext.hpp"
#include "base/text.hpp"
#include "cli/table_files.hpp"
#include "figures/figure_file.hpp"
#include "figures/map_transform.hpp"
#include "figures/report_file.hpp"
#include "vector/records_options.hpp"
#include "vector/text_encoding.hpp"

namespace el::batch {
namespace {

using cmdline::Option;
using Options = std::vector<Option>;

bool isFileArgument(const std::string& arg) { return arg.empty() || arg[0] != '-' || arg == "-"; }

// An option whose value is kept as given in `into`, then checked by `check` ("" or the usage error).
template <class Check>
Option fileValued(const std::string& name, const std::string& valueName, const std::string& help, std::string& into,
                  Check check) {
    return cmdline::valued(name, "", valueName, help, [&into, check](const std::string& value) {
        into = value;
        return check(value);
    });
}

std::string extensionError(const std::string& name, const std::string& file, const std::string& extension) {
    if (asciiLower(std::filesystem::path(file).extension().string()) == extension) return "";
    return "option " + name + ": \"" + file + "\" must end in " + extension;
}

// Checks a figure or report file name; the usage error, or "" when it is fine.
std::string fileOptionError(const std::string& option, const std::string& file) {
    if (option == "--report")
        return figures::reportFormatOf(file) ? "" : "option --report: \"" + file + "\" must end in .pdf or .html";
    return figures::figureFormatOf(file) ? "" : "option " + option + ": \"" + file + "\" must end in .png, .svg or .pdf";
}

Option figureFile(const std::string& name, const std::string& help, std::string& into) {
    return fileValued(name, "FILE", help, into,
                      [name](const std::string& file) { return fileOptionError(name, file); });
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

std::string mapValuesError(const std::string& text, bool& predicted) {
    if (text != "known" && text != "predicted")
        return "option --map-values takes known or predicted, not \"" + text + "\"";
    predicted = text == "predicted";
    return "";
}

std::string mapCrsError(const std::string& text, std::optional<std::string>& crs) {
    if (const auto problem = figures::mapCrsProblem(text)) return "option --map-crs: " + *problem;
    crs = text;
    return "";
}

// The map, the figures and the report.
Options figureOptions(BatchOptions& opts) {
    return {
        figureFile("--map", "after a completed run, draw the map of the dates to FILE (.png, .svg, .pdf)",
                   opts.mapFile),
        cmdline::valued("--map-species", "", "NAME",
                        "the species the map shows (default: the target, else the first species)",
                        [&opts](const std::string& name) {
                            opts.mapSpecies = name;
                            return std::string();
                        }),
        cmdline::flag("--map-y-down", "",
                      "the map's y grows downwards (screen or SVG coordinates): draw it the right way up",
                      [&opts] { opts.mapYDown = true; }),
        cmdline::valued(
            "--map-values", "", "known|predicted",
            "known (default): the target's recorded dates solid, its predicted dates pale and hatched, overdue regions "
            "ringed; predicted: every region by its predicted date",
            [&opts](const std::string& text) { return mapValuesError(text, opts.mapPredicted); }),
        cmdline::valued(
            "--map-extent", "", "XMIN,YMIN,XMAX,YMAX",
            "the frame of the map and the report's map in the data's units, longitude/latitude for such data "
            "(default: where the regions are)",
            [&opts](const std::string& text) { return parseExtent(text, opts.mapExtent); }),
        cmdline::flag("--map-labels", "", "write region names on the map where they fit",
                      [&opts] { opts.mapLabels = true; }),
        cmdline::valued("--map-crs", "", "CRS",
                        "the coordinate system of a longitude/latitude map, as PROJ reads it (EPSG:3035, +proj=robin; "
                        "default: equal-area, centred on the regions)",
                        [&opts](const std::string& text) { return mapCrsError(text, opts.mapCrs); }),
        figureFile("--fit-plot", "after a completed run, draw the fit plot of the target to FILE (.png, .svg, .pdf)",
                   opts.fitPlotFile),
        figureFile("--weight-plot", "after an examine-weight run, draw the heat map of the power grid to FILE",
                   opts.weightPlotFile),
        figureFile("--report", "after a completed run, write its report to FILE (.pdf, or .html with SVG figures)",
                   opts.reportFile),
    };
}

// A whole number of at least 0 for a --hindcast-min-* option.
Option countOption(const std::string& name, const std::string& help, int& into) {
    return cmdline::valued(name, "", "N", help, [name, &into](const std::string& text) {
        const auto value = parseNumber(text);
        if (!value || *value != std::floor(*value) || *value < 0 || *value > 1e9)
            return "option " + name + " takes a whole number of at least 0, not \"" + text + "\"";
        into = static_cast<int>(*value);
        return std::string();
    });
}

std::string hindcastYearsError(const std::string& years, std::vector<double>& into) {
    into.clear();
    for (const std::string& year : splitAtCommas(years)) {
        const auto value = parseNumber(year);
        if (!value) return "option --hindcast: \"" + year + "\" is not a year";
        into.push_back(*value);
    }
    return "";
}

std::string hindcastTargetsError(const std::string& names, std::optional<std::string>& into) {
    if (names.empty()) return "option --hindcast-targets needs at least one species name, or all";
    into = names;
    return "";
}

// The tables for other programs and the hindcasts.
Options tableOptions(BatchOptions& opts) {
    Option targets = cmdline::valued(
        "--hindcast-targets", "", "all|A,B",
        "hindcast with each eligible species named (all: every species analysed) as the target in turn",
        [&opts](const std::string& names) { return hindcastTargetsError(names, opts.hindcastTargets); });
    targets.expects = "all|A,B,...";
    engine::HindcastEligibility& rules = opts.hindcastRules;
    return {
        fileValued(
            "--predictions", "FILE",
            "after a completed run, write one row per region to FILE (.csv, or a GIS layer: .gpkg, .geojson, .shp)",
            opts.predictionsFile, [](const std::string& file) { return predictionsFileError(file); }),
        fileValued("--summary", "FILE", "after a completed run, write its summary to FILE (.json)", opts.summaryFile,
                   [](const std::string& file) { return extensionError("--summary", file, ".json"); }),
        cmdline::valued(
            "--hindcast", "", "Y[,Y...]",
            "after the run, forecast from the data up to each year Y and score it on the later arrivals (needs -t)",
            [&opts](const std::string& years) { return hindcastYearsError(years, opts.hindcastYears); }),
        targets,
        fileValued("--hindcast-table", "FILE", "write one row of hindcast figures per species and year to FILE (.csv)",
                   opts.hindcastTable,
                   [](const std::string& file) { return extensionError("--hindcast-table", file, ".csv"); }),
        countOption("--hindcast-min-before",
                    "a species is hindcast at Y with at least N regions dated up to Y (default 5)", rules.minBefore),
        countOption("--hindcast-min-after", "... and at least N regions dated after Y (default 3)", rules.minAfter),
        countOption("--hindcast-min-unreached", "... and at least N regions it never reached (default 1)",
                    rules.minUnreached),
    };
}

// The options that come before the figures in the help: the species and the file's encoding.
Options inputOptions(BatchOptions& opts) {
    Option species =
        cmdline::valued("--species", "-s", "A,B,C", "species analysed, in this order (default: every variable of FILE)",
                        [&opts](const std::string& names) {
                            opts.speciesList = names;
                            return std::string();
                        });
    species.expects.clear();
    Option encoding = cmdline::valued(
        "--encoding", "", "NAME",
        "text encoding of FILE, e.g. CP932 or WINDOWS-1252 (default: auto, UTF-8 or else the "
        "encoding the detector names, CP932 when it names none; the one assumed is named on standard error)",
        [&opts](const std::string& name) {
            opts.encoding = name;
            return vec::encodingKnown(name) ? std::string()
                                            : "option --encoding: unknown text encoding \"" + name + "\"";
        });
    return {species, encoding};
}

bool validChoice(const SettingInfo& info, const std::string& value) {
    return std::any_of(info.choices.begin(), info.choices.end(), [&](const Choice& c) { return c.value == value; });
}

// Checks and sets the value of a setting's option; "" or the usage error.
std::string setSetting(const SettingInfo& info, const std::string& value, BatchOptions& opts) {
    const BatchOption& b = info.batch;
    const std::string flag(b.flag);
    if (info.kind == SettingKind::Choice && !validChoice(info, value))
        return "option " + flag + " takes " + std::string(b.argName) + ", not \"" + value + "\"";
    if (info.id == Setting::Threads && !threadCountOf(value))
        return "option " + flag + " takes a whole number from 1 to " + std::to_string(kMaxThreads) + ", not \"" +
               value + "\"";
    opts.values.set(info.id, value);
    if (b.alsoOn) opts.values.set(*b.alsoOn, std::string(kOn));
    if (info.id == Setting::LogFileName) opts.logToFile = true;
    return "";
}

// The options of the settings table, in its order.
Options settingOptions(BatchOptions& opts) {
    Options options;
    for (const auto& info : settingTable()) {
        const BatchOption& b = info.batch;
        if (b.flag.empty()) continue;
        const std::string help(info.help);
        Option option =
            cmdline::valued(std::string(b.flag), std::string(b.shortFlag), std::string(b.argName), help,
                            [&info, &opts](const std::string& value) {
                                // A switch is given no value: it sets its own.
                                const bool isSwitch = info.batch.argName.empty();
                                return setSetting(info, isSwitch ? std::string(info.batch.switchValue) : value, opts);
                            });
        option.takesValue = !b.argName.empty();
        options.push_back(std::move(option));
    }
    return options;
}

void append(Options& to, Options from) {
    to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
}

Options allOptions(BatchOptions& opts) {
    Options options = inputOptions(opts);
    append(options, figureOptions(opts));
    append(options, tableOptions(opts));
    options.push_back(
        cmdline::flag("--quiet", "", "no progress line on standard error", [&opts] { opts.quiet = true; }));
    append(options, vec::recordsOptions(opts.records));
    append(options, settingOptions(opts));
    options.push_back(cmdline::flag("--help", "-h", "show this help and exit", [&opts] { opts.help = true; }));
    options.push_back(cmdline::flag("--version", "", "show the version and exit", [&opts] { opts.version = true; }));
    return options;
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
    if (std::string error = vec::recordsCombinationError(opts.records, opts.file); !error.empty()) return error;
    if (opts.input().empty() && !opts.help && !opts.version) return "no FILE given";
    for (const std::string* output : {&opts.predictionsFile, &opts.summaryFile, &opts.hindcastTable})
        if (sameFile(*output, opts.input())) return "\"" + *output + "\" is the input FILE: name another file for the table";
    const bool drawsMap = !opts.mapFile.empty() || !opts.reportFile.empty();
    if (opts.mapSpecies && !drawsMap) return "option --map-species needs --map or --report";
    if (opts.mapYDown && !drawsMap) return "option --map-y-down needs --map or --report";
    if (opts.mapExtent && !drawsMap) return "option --map-extent needs --map or --report";
    if (opts.mapLabels && !drawsMap) return "option --map-labels needs --map or --report";
    if (opts.mapCrs && !drawsMap) return "option --map-crs needs --map or --report";
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

// The start-up value of the setting `option` changes, as the help's middle column shows it; "" for
// the options of the batch runner alone.
std::string startupColumn(const Option& option) {
    for (const auto& info : settingTable()) {
        if (info.batch.flag != option.name) continue;
        return std::string(info.name) + "=" + (info.startup.empty() ? "\"\"" : std::string(info.startup));
    }
    return "";
}

std::vector<HelpRow> helpRows(const Options& options) {
    std::vector<HelpRow> rows;
    for (const Option& option : options)
        rows.push_back(
            {optionText(option.shortName, option.name, option.valueName), startupColumn(option), option.help});
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
    opts.records.encoding = opts.encoding;
    if (std::string error = combinationError(opts); !error.empty()) return {std::nullopt, std::move(error)};
    return {std::move(opts), {}};
}

std::vector<cmdline::Option> optionTable(BatchOptions& opts) { return allOptions(opts); }

std::vector<std::string> splitSpecies(const std::string& text) {
    if (text.empty()) return {};  // -s "": an empty species list
    return splitAtCommas(text);
}

std::string usageText() {
    BatchOptions unused;  // the handlers' target; nothing is read
    return "usage: earlylate-batch [options] FILE\n"
           "       earlylate-batch [options] --records TABLE [--regions LAYER]\n"
           "Reads the vector file FILE (or builds the data set from a records table), runs one forecast\n"
           "on it and writes the log.\n\n"
           "options (the middle column names the setting an option changes, with its start-up value):\n" +
           helpColumns(helpRows(allOptions(unused))) +
           "\nExit status: 0 completed, 1 the read or the run stopped on an error, 2 usage error,\n"
           "130 interrupted by Ctrl-C (nothing half-written is left; the -o log holds the lines so far).\n"
           "On a terminal, standard error shows the progress of the read and of the run.\n"
           "SOURCE_DATE_EPOCH, when set, fixes the date of calculation (whole seconds).\n";
}

}  // namespace el::batch
