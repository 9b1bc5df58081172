#include "base/command_line.hpp"

#include <algorithm>
#include <set>
#include <utility>

namespace el::cmdline {
namespace {

const Option* find(const std::vector<Option>& options, const std::string& arg) {
    const auto at = std::find_if(options.begin(), options.end(), [&](const Option& o) { return o.named(arg); });
    return at == options.end() ? nullptr : &*at;
}

// One option as met on the line: which it is, how it was written, and a value joined to it by '='.
struct Met {
    const Option* option = nullptr;
    std::string written;
    std::optional<std::string> joined;
};

// The option `arg` names, or the usage error in `error`.
Met recognise(const std::string& arg, const std::vector<Option>& options, const Grammar& grammar, std::string& error) {
    if (const Option* option = find(options, arg)) return {option, arg, std::nullopt};
    const std::size_t equals = arg.find('=');
    if (arg.starts_with("--") && equals != std::string::npos) {
        const std::string name = arg.substr(0, equals);
        const Option* option = find(options, name);
        if (option != nullptr && option->takesValue) return {option, name, arg.substr(equals + 1)};
        error = grammar.unknown(arg, name);
        return {};
    }
    error = grammar.unknown(arg, arg);
    return {};
}

}  // namespace

Option flag(std::string name, std::string shortName, std::string help, std::function<void()> set) {
    Option option;
    option.name = std::move(name);
    option.shortName = std::move(shortName);
    option.help = std::move(help);
    option.apply = [set = std::move(set)](const std::string&) {
        set();
        return std::string();
    };
    return option;
}

Option valued(std::string name, std::string shortName, std::string valueName, std::string help, Handler apply) {
    Option option;
    option.name = std::move(name);
    option.shortName = std::move(shortName);
    option.takesValue = true;
    option.expects = valueName;
    option.valueName = std::move(valueName);
    option.help = std::move(help);
    option.apply = std::move(apply);
    return option;
}

std::string readArguments(const std::vector<std::string>& args, const std::vector<Option>& options,
                          const Grammar& grammar) {
    std::set<const Option*> given;
    bool onlyOperands = false;
    for (std::size_t at = 0; at < args.size(); ++at) {
        const std::string& arg = args[at];
        std::string error;
        const bool exact = !onlyOperands && find(options, arg) != nullptr;
        if (!exact && grammar.doubleDashEndsOptions && !onlyOperands && arg == "--") {
            onlyOperands = true;
            continue;
        }
        if (!exact && (onlyOperands || grammar.isOperand(arg))) {
            if (error = grammar.operand(arg); !error.empty()) return error;
            continue;
        }
        const Met met = recognise(arg, options, grammar, error);
        if (met.option == nullptr) return error;
        std::string value;
        if (met.option->takesValue) {
            if (met.joined) value = *met.joined;
            else if (at + 1 < args.size()) value = args[++at];
            else return grammar.missingValue(met.written, *met.option);
            if (grammar.emptyValueIsMissing && value.empty()) return grammar.missingValue(met.written, *met.option);
        }
        if (met.option->once && !given.insert(met.option).second) return grammar.repeated(met.written);
        if (error = met.option->apply(value); !error.empty()) return error;
        if (met.option->endsLine) return "";
    }
    return "";
}

std::string sharedName(const std::vector<Option>& options) {
    std::set<std::string> names;
    for (const Option& option : options)
        for (const std::string* name : {&option.name, &option.shortName})
            if (!name->empty() && !names.insert(*name).second) return *name;
    return "";
}

std::string shownAs(const Option& option) {
    return option.valueName.empty() ? option.name : option.name + " " + option.valueName;
}

std::string optionList(const std::vector<Option>& options, std::size_t column) {
    std::string text;
    for (const Option& option : options) {
        if (option.help.empty()) continue;
        std::string line = "  " + shownAs(option);
        line.resize(std::max(line.size() + 2, column), ' ');
        text += line + option.help + "\n";
    }
    return text;
}

}  // namespace el::cmdline
