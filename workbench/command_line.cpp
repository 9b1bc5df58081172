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
        std::optional<std::string>* target = nullptr;
        if (arg == "--folder") target = &parsed.folder;
        else if (arg == "--screenshot") target = &parsed.screenshot;
        else if (arg == "--open") target = &parsed.open;
        if (target == nullptr) return ArgumentError{"unknown argument: " + arg};
        if (i + 1 >= args.size() || args[i + 1].empty()) return ArgumentError{arg + " needs a value"};
        if (target->has_value()) return ArgumentError{arg + " given twice"};
        *target = args[++i];
    }
    if (parsed.open && !parsed.screenshot) return ArgumentError{"--open is only used with --screenshot"};
    return parsed;
}

std::string appUsage() {
    return "usage: earlylate [--folder DIR]\n"
           "       earlylate --screenshot FILE.png [--open VECTORFILE] [--folder DIR]\n"
           "\n"
           "  --folder DIR          start the file chooser in DIR (default: the working directory)\n"
           "  --screenshot FILE     render the window at 96 dpi to FILE (PNG) and exit\n"
           "  --open VECTORFILE     with --screenshot: read VECTORFILE first\n";
}

}  // namespace el::workbench
