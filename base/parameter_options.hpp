#pragma once
// A parameter of the registry as an option of a command line: its flags, its value's name,
// its help as the program shows it, and a handler that runs the registry's one check and
// keeps the value.

#include <string>
#include <vector>

#include "base/command_line.hpp"
#include "base/parameters.hpp"

namespace el {

// `refusedAs` is how the program's refusals name the parameter, followed by the registry's
// words: "option --threads" gives "option --threads takes a whole number from 1 to 256, ...".
// The handler writes into `values`, which must outlive the option.
cmdline::Option commandLineOption(const Parameter& p, FrontEnd front, const std::string& refusedAs, ParamValues& values,
                                  const Capabilities& can);

// The options of `params`, each refused as "option FLAG" when `withWordOption`, else as "FLAG".
std::vector<cmdline::Option> commandLineOptions(const std::vector<const Parameter*>& params, FrontEnd front,
                                                bool withWordOption, ParamValues& values, const Capabilities& can);

}  // namespace el
