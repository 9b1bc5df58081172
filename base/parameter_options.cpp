#include "base/parameter_options.hpp"

namespace el {

cmdline::Option commandLineOption(const Parameter& p, FrontEnd front, const std::string& refusedAs, ParamValues& values,
                                  const Capabilities& can) {
    cmdline::Option option;
    option.name = std::string(p.spelling.flag);
    option.shortName = std::string(p.spelling.shortFlag);
    option.takesValue = p.type != ParamType::Switch;
    option.valueName = std::string(p.spelling.argName);
    if (!p.has(kMissingBare))
        option.expects = std::string(p.missingWords.empty() ? p.spelling.argName : p.missingWords);
    option.help = helpText(p, front);
    option.apply = [&p, &values, refusedAs, can](const std::string& given) {
        // A switch is given no value: it sets its own.
        const std::string value = p.type == ParamType::Switch ? std::string(p.switchValue) : given;
        if (auto refusal = refusalOf(p, value, can)) return refusedAs + *refusal;
        if (p.has(kRepeatable)) values.add(p.id, value);
        else values.set(p.id, value);
        if (p.alsoOn) values.set(parameterOf(*p.alsoOn), std::string(kOn));
        return std::string();
    };
    return option;
}

std::vector<cmdline::Option> commandLineOptions(const std::vector<const Parameter*>& params, FrontEnd front,
                                                bool withWordOption, ParamValues& values, const Capabilities& can) {
    std::vector<cmdline::Option> options;
    for (const Parameter* p : params) {
        if (p->spelling.flag.empty()) continue;
        const std::string refusedAs = (withWordOption ? "option " : "") + std::string(p->spelling.flag);
        options.push_back(commandLineOption(*p, front, refusedAs, values, can));
    }
    return options;
}

}  // namespace el
