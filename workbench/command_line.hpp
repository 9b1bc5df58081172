#pragma once
// The window executable's command line: an optional start-up folder, and a screenshot mode
// that renders the window (optionally after reading a file) to a PNG and exits.

#include <optional>
#include <string>
#include <vector>

#include "base/command_line.hpp"

namespace el::workbench {

struct AppArguments {
    std::optional<std::string> folder;      // --folder DIR
    std::optional<std::string> screenshot;  // --screenshot FILE.png
    std::optional<std::string> open;        // --open VECTORFILE (only with --screenshot)
    std::optional<std::string> target;      // --target NAME (only with --run)
    std::optional<std::string> tab;         // --tab log|map|fit|weights|table|hindcast (only with --screenshot)
    std::optional<std::string> size;        // --size WIDTHxHEIGHT (only with --screenshot)
    std::optional<std::string> hindcast;    // --hindcast YEARS (only with --run)
    std::optional<std::string> riskHorizon;  // --risk-horizon H (only with --run): the risk control on
    bool run = false;                       // --run: every variable as species, then "G  O"
    bool examineWeight = false;             // --examine-weight (only with --run): over the power grid
    bool help = false;
};

// The arguments, or the text of the usage error.
cmdline::Parsed<AppArguments> parseAppArguments(const std::vector<std::string>& args);

std::string appUsage();

}  // namespace el::workbench
