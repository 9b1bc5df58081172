#pragma once
// One way to read a command line, shared by every executable: a table of options (names,
// whether a value follows, help text, and a handler writing into the program's typed result)
// read by one parser, and one result type. Each program words its own usage errors and says
// which arguments are operands (file names) rather than options.
//
// Forms read: --name VALUE, --name=VALUE (long names only), -n VALUE, switches, and, when the
// program asks for it, "--" after which every argument is an operand.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace el::cmdline {

// The outcome of reading a command line: the program's options, or the text of the usage error.
template <class Options>
struct Parsed {
    std::optional<Options> options;
    std::string error;
};

// Writes an option's value (or "" for a switch) into the program's result; "" or the usage error.
using Handler = std::function<std::string(const std::string& value)>;

struct Option {
    std::string name;         // the long name, e.g. "--target"
    std::string shortName;    // e.g. "-t"; "" for none
    bool takesValue = false;  // false: a switch
    std::string valueName;    // the value as the help shows it, e.g. "NAME"
    std::string expects;      // what a usage error for a missing value says is expected; may be ""
    std::string help;         // what the option does; "" leaves it out of the option list
    bool once = false;        // given a second time is a usage error
    bool endsLine = false;    // nothing after it is read (a --help that wins over the rest)
    Handler apply;

    bool named(const std::string& arg) const { return arg == name || (!shortName.empty() && arg == shortName); }
};

// A switch: `set` runs when it is given.
Option flag(std::string name, std::string shortName, std::string help, std::function<void()> set);

// An option taking a value; valueName serves the help and the missing-value error alike.
Option valued(std::string name, std::string shortName, std::string valueName, std::string help, Handler apply);

// How a program reads the arguments that are not options, and how it words the parser's errors.
struct Grammar {
    std::function<bool(const std::string& arg)> isOperand;  // an argument that is no option
    Handler operand;                                        // takes an operand; "" or the usage error
    bool doubleDashEndsOptions = false;                     // "--": every later argument is an operand
    bool emptyValueIsMissing = false;                       // --name "" lacks its value
    // `written`: the argument as given; `name`: the part before '=' (the whole argument without one).
    std::function<std::string(const std::string& written, const std::string& name)> unknown;
    // `written`: the option as given (-t or --target).
    std::function<std::string(const std::string& written, const Option& option)> missingValue;
    std::function<std::string(const std::string& written)> repeated;
};

// Reads `args` in order against `options`; the first usage error, or "".
std::string readArguments(const std::vector<std::string>& args, const std::vector<Option>& options,
                          const Grammar& grammar);

// The first name two options share, or "" when every name is unique.
std::string sharedName(const std::vector<Option>& options);

// "--name VALUE" (or "--name" for a switch), as the option lists show it.
std::string shownAs(const Option& option);

// One line per option with a help text: two blanks, the option, its help from `column` on
// (at least two blanks after the option).
std::string optionList(const std::vector<Option>& options, std::size_t column);

}  // namespace el::cmdline
