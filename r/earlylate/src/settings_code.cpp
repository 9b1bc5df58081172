#include "settings_code.hpp"

#include <array>
#include <optional>

#include "base/parameters.hpp"

namespace el::rpkg {
namespace {

constexpr std::array<RArgument, 12> kRunArguments{{
    {"target", "targetspecies", ArgForm::OptionalText, ""},
    {"training", "trainingratio", ArgForm::Number, ""},
    {"reliability", "doreliability", ArgForm::Flag, ""},
    {"trials", "iterationn", ArgForm::Number, ""},
    {"weight_power", "weightpower", ArgForm::Number, ""},
    {"sample_power", "samplen", ArgForm::Number, ""},
    {"auto_weight", "autoweight", ArgForm::Flag, ""},
    {"exclude_limit", "excludinglimit", ArgForm::Limit, "excludelimited"},
    {"missing", "missingmode", ArgForm::Choice, ""},
    // A package shares the machine with the R session and its other work: two threads
    // unless asked for more (the tools use every core).
    {"threads", "threads", ArgForm::OptionalCount, "", "2L",
     "In R the default is 2 threads; \\code{NULL} uses every core."},
    {"similarity_output", "simoutput", ArgForm::Choice, ""},
    {"el_matrix", "elmatrixoutput", ArgForm::Choice, ""},
}};

// The argument "species" follows "target" in the signature; "name" and "file_name" end it.
constexpr std::string_view kSpeciesAfter = "target";

std::string rString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string rVector(const std::vector<std::string>& texts) {
    std::string out = "c(";
    for (std::size_t i = 0; i < texts.size(); ++i) out += (i ? ", " : "") + rString(texts[i]);
    return out + ")";
}

std::string_view kindName(SettingKind kind) {
    switch (kind) {
        case SettingKind::Check: return "check";
        case SettingKind::Choice: return "choice";
        case SettingKind::Text: break;
    }
    return "text";
}

std::string_view formName(ArgForm form) {
    switch (form) {
        case ArgForm::OptionalText: return "optional_text";
        case ArgForm::Number: return "number";
        case ArgForm::Flag: return "flag";
        case ArgForm::Choice: return "choice";
        case ArgForm::Limit: return "limit";
        case ArgForm::OptionalCount: break;
    }
    return "optional_count";
}

// The choice values, the start-up value first and the others in table order.
std::vector<std::string> choicesStartupFirst(const SettingInfo& info) {
    std::vector<std::string> values{std::string(info.startup)};
    for (const Choice& choice : info.choices)
        if (choice.value != info.startup) values.emplace_back(choice.value);
    return values;
}

// The default of an argument as R code.
std::string defaultCode(const RArgument& argument) {
    if (!argument.rDefault.empty()) return std::string(argument.rDefault);
    const SettingInfo* info = infoOf(argument.setting);
    switch (argument.form) {
        case ArgForm::Number: return info ? std::string(info->startup) : "NULL";
        case ArgForm::Flag: return info && info->startup == kOn ? "TRUE" : "FALSE";
        case ArgForm::Choice: return info ? rVector(choicesStartupFirst(*info)) : "NULL";
        default: return "NULL";
    }
}

std::string tableColumn(std::string_view name, const std::vector<std::string>& values) {
    return "  " + std::string(name) + " = " + rVector(values) + ",\n";
}

std::string settingsFrame() {
    std::vector<std::string> names, kinds, startups, captions, helps;
    for (const SettingInfo& info : settingTable()) {
        names.emplace_back(info.name);
        kinds.emplace_back(kindName(info.kind));
        startups.emplace_back(info.startup);
        captions.emplace_back(info.caption);
        helps.emplace_back(info.help);
    }
    return ".el_settings <- data.frame(\n" + tableColumn("name", names) + tableColumn("kind", kinds) +
           tableColumn("startup", startups) + tableColumn("caption", captions) + tableColumn("help", helps) +
           "  stringsAsFactors = FALSE\n)\n";
}

std::string choicesList() {
    std::string out = ".el_choices <- list(\n";
    bool first = true;
    for (const SettingInfo& info : settingTable()) {
        if (info.choices.empty()) continue;
        std::vector<std::string> values;
        for (const Choice& choice : info.choices) values.emplace_back(choice.value);
        out += std::string(first ? "" : ",\n") + "  " + std::string(info.name) + " = " + rVector(values);
        first = false;
    }
    return out + "\n)\n";
}

std::string argumentsFrame() {
    std::vector<std::string> names, settings, forms, boxes;
    for (const RArgument& argument : kRunArguments) {
        names.emplace_back(argument.name);
        settings.emplace_back(argument.setting);
        forms.emplace_back(formName(argument.form));
        boxes.emplace_back(argument.checkBox);
    }
    return ".el_arguments <- data.frame(\n" + tableColumn("argument", names) + tableColumn("setting", settings) +
           tableColumn("form", forms) + tableColumn("check_box", boxes) + "  stringsAsFactors = FALSE\n)\n";
}

}  // namespace

std::vector<std::string> forecastFormalTexts() {
    std::vector<std::string> formals;
    for (const RArgument& argument : kRunArguments) {
        formals.push_back(std::string(argument.name) + " = " + defaultCode(argument));
        if (argument.name == kSpeciesAfter) formals.emplace_back("species = NULL");
    }
    formals.emplace_back("name = \"name\"");
    formals.emplace_back("file_name = NULL");
    // The risk of a first record is made only when asked: no horizon unless one is given.
    for (const Param id : {Param::RiskHorizon, Param::AsOf})
        formals.push_back(std::string(parameter(id).spelling.rName) + " = NULL");
    return formals;
}

namespace {

std::string readFormals() {
    const SettingInfo* skip = infoOf("skipformatcheck");
    const bool check = skip && skip->startup == kOff;
    return ".el_read_formals <- alist(path = , encoding = \"auto\", format_check = " +
           std::string(check ? "TRUE" : "FALSE") + ")\n";
}

// alist(x = , ...): the data argument has no default.
std::string alistCode(const std::vector<std::string>& formals) {
    std::string out = "alist(x = ";
    for (const std::string& formal : formals) out += ",\n  " + formal;
    return out + ")";
}

// el_hindcast's formals: its eligibility rules take their names and defaults from the
// parameter registry, as the batch runner's options do.
std::string hindcastFormals() {
    std::string out = ".el_hindcast_formals <- alist(x = , target = NULL, years = , ... = , targets = NULL";
    for (const Param id : {Param::HindcastMinBefore, Param::HindcastMinAfter, Param::HindcastMinUnreached}) {
        const Parameter& p = parameter(id);
        out += ",\n  " + std::string(p.spelling.rName) + " = " + std::string(p.defaultValue);
    }
    return out + ")\n";
}

// el_records' switches of the occurrence points: their names and defaults from the parameter
// registry, as the batch runner's options take them.
std::string recordsSwitches() {
    std::string out = ".el_records_switches <- alist(";
    bool first = true;
    for (const Param id : {Param::KeepSpecimens}) {
        const Parameter& p = parameter(id);
        out += std::string(first ? "" : ", ") + std::string(p.spelling.rName) + " = " +
               (p.defaultValue == kOn ? "TRUE" : "FALSE");
        first = false;
    }
    return out + ")\n";
}

}  // namespace

std::span<const RArgument> runArguments() { return kRunArguments; }

const SettingInfo* infoOf(std::string_view setting) {
    const auto id = settingByName(setting);
    return id ? &settingInfo(*id) : nullptr;
}

std::string settingsRCode() {
    return "# Generated from the core's settings table by r/tools/settings-r (scripts/install-r writes it\n"
           "# anew); do not edit by hand.\n\n" +
           settingsFrame() + "\n" + choicesList() + "\n" + argumentsFrame() + "\n" +
           ".el_forecast_formals <- " + alistCode(forecastFormalTexts()) + "\n\n" + readFormals() + "\n" +
           hindcastFormals() + "\n" + recordsSwitches();
}

}  // namespace el::rpkg
