#include "workbench/command_line.hpp"

namespace el::workbench {

std::variant<AppArguments, ArgumentError> parseAppArguments(const std::vector<std::string>& args) {
    AppArguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-h" || arg == "--help") {
            parsed.help = true;
            continue;
        }
        if (arg == "--run" || arg == "--examine-weight") {
            (arg == "--run" ? parsed.run : parsed.examineWeight) = true;
            continue;
        }
        std::optional<std::string>* target = nullptr;
        if (arg == "--folder") target = &parsed.folder;
        else if (arg == "--screenshot") target = &parsed.screenshot;
        else if (arg == "--open") target = &parsed.open;
        else if (arg == "--target") target = &parsed.target;
        else if (arg == "--tab") target = &parsed.tab;
        else if (arg == "--size") target = &parsed.size;
        else if (arg == "--hindcast") target = &parsed.hindcast;
        if (target == nullptr) return ArgumentError{"unknown argument: " + arg};
        if (i + 1 >= args.size() || args[i + 1].empty()) return ArgumentError{arg + " needs a value"};
        if (target->has_value()) return ArgumentError{arg + " given twice"};
        *target = args[++i];
    }
    if (parsed.open && !parsed.screenshot) return ArgumentError{"--open is only used with --screenshot"};
    if ((parsed.run || parsed.tab) && !parsed.screenshot)
        return ArgumentError{"--run and --tab are only used with --screenshot"};
    if (parsed.size && !parsed.screenshot) return ArgumentError{"--size is only used with --screenshot"};
    if (parsed.run && !parsed.open) return ArgumentError{"--run needs --open"};
    if ((parsed.target || parsed.examineWeight || parsed.hindcast) && !parsed.run)
        return ArgumentError{"--target, --examine-weight and --hindcast are only used with --run"};
    return parsed;
}

std::string appUsage() {
    return "usage: earlylate [--folder DIR]\n"
           "       earlylate --screenshot FILE.png [--open VECTORFILE] [--folder DIR]\n"
           "\n"
           "  --folder DIR          start the file chooser in DIR (default: the working directory)\n"
           "  --screenshot FILE     render the window at 96 dpi to FILE (PNG) and exit\n"
           "  --open VECTORFILE     with --screenshot: read VECTORFILE first\n"
           "  --run                 with --open: move every variable into the species list and run\n"
           "  --target NAME         with --run: the target species\n"
           "  --examine-weight      with --run: examine the weighting over the power grid\n"
           "  --hindcast YEARS      with --run: make the Hindcast tab's hindcast of these years\n"
           "  --tab NAME            with --screenshot: show the tab log, map, fit, weights, table or hindcast\n"
           "  --size WxH            with --screenshot: the window size in pixels (default: its start-up size)\n";
}

}  // namespace el::workbench
