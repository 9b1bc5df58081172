#include "workbench/command_line.hpp"

namespace el::workbench {
namespace {

using cmdline::Option;

// An option given at most once, keeping its value in `into`.
Option onceValued(const char* name, const char* valueName, const char* help, std::optional<std::string>& into) {
    Option option = cmdline::valued(name, "", valueName, help, [&into](const std::string& value) {
        into = value;
        return std::string();
    });
    option.once = true;
    return option;
}

// The options in the order the usage lists them; -h and --help are not listed.
std::vector<Option> options(AppArguments& parsed) {
    return {
        onceValued("--folder", "DIR", "start the file chooser in DIR (default: the working directory)", parsed.folder),
        onceValued("--screenshot", "FILE", "render the window at 96 dpi to FILE (PNG) and exit", parsed.screenshot),
        onceValued("--open", "VECTORFILE", "with --screenshot: read VECTORFILE first", parsed.open),
        cmdline::flag("--run", "", "with --open: move every variable into the species list and run",
                      [&parsed] { parsed.run = true; }),
        onceValued("--target", "NAME", "with --run: the target species", parsed.target),
        cmdline::flag("--examine-weight", "", "with --run: examine the weighting over the power grid",
                      [&parsed] { parsed.examineWeight = true; }),
        onceValued("--hindcast", "YEARS", "with --run: make the Hindcast tab's hindcast of these years",
                   parsed.hindcast),
        onceValued("--risk-horizon", "H", "with --run: turn the risk control on with H years; the map shows the risk",
                   parsed.riskHorizon),
        onceValued("--tab", "NAME", "with --screenshot: show the tab log, map, fit, weights, table or hindcast",
                   parsed.tab),
        onceValued("--size", "WxH", "with --screenshot: the window size in pixels (default: its start-up size)",
                   parsed.size),
        cmdline::flag("--help", "-h", "", [&parsed] { parsed.help = true; }),
    };
}

cmdline::Grammar grammar() {
    cmdline::Grammar grammar;
    grammar.isOperand = [](const std::string&) { return false; };  // the window takes no file names
    grammar.emptyValueIsMissing = true;
    grammar.unknown = [](const std::string& written, const std::string&) { return "unknown argument: " + written; };
    grammar.missingValue = [](const std::string& written, const Option&) { return written + " needs a value"; };
    grammar.repeated = [](const std::string& written) { return written + " given twice"; };
    return grammar;
}

// The rules between the arguments; the usage error or "".
std::string combinationError(const AppArguments& parsed) {
    if (parsed.open && !parsed.screenshot) return "--open is only used with --screenshot";
    if ((parsed.run || parsed.tab) && !parsed.screenshot) return "--run and --tab are only used with --screenshot";
    if (parsed.size && !parsed.screenshot) return "--size is only used with --screenshot";
    if (parsed.run && !parsed.open) return "--run needs --open";
    if ((parsed.target || parsed.examineWeight || parsed.hindcast) && !parsed.run)
        return "--target, --examine-weight and --hindcast are only used with --run";
    if (parsed.riskHorizon && !parsed.run) return "--risk-horizon is only used with --run";
    return "";
}

}  // namespace

cmdline::Parsed<AppArguments> parseAppArguments(const std::vector<std::string>& args) {
    AppArguments parsed;
    std::string error = cmdline::readArguments(args, options(parsed), grammar());
    if (error.empty()) error = combinationError(parsed);
    if (!error.empty()) return {std::nullopt, std::move(error)};
    return {std::move(parsed), {}};
}

std::string appUsage() {
    AppArguments unused;  // the handlers' target; nothing is read
    return "usage: earlylate [--folder DIR]\n"
           "       earlylate --screenshot FILE.png [--open VECTORFILE] [--folder DIR]\n"
           "\n" +
           cmdline::optionList(options(unused), 24);
}

}  // namespace el::workbench
