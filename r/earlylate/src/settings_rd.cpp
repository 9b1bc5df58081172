// The help page of the run arguments, made from the settings table.

#include <optional>
#include <vector>

#include "settings_code.hpp"

namespace el::rpkg {
namespace {

std::string rdText(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '%' || c == '{' || c == '}' || c == '\\') out += '\\';
        out += c;
    }
    return out;
}

std::string code(std::string_view text) { return "\\code{" + rdText(text) + "}"; }

std::string batchOption(const SettingInfo& info) {
    const BatchOption& batch = info.batch;
    if (batch.flag.empty()) return "";
    std::string option(batch.flag);
    if (!batch.argName.empty()) option += " " + std::string(batch.argName);
    return code(option);
}

std::string_view formWords(ArgForm form) {
    switch (form) {
        case ArgForm::OptionalText: return "\\code{NULL} (the start-up value) or a string";
        case ArgForm::Number: return "a number";
        case ArgForm::Flag: return "\\code{TRUE} or \\code{FALSE}";
        case ArgForm::Choice: return "one of the choices shown, the first the start-up value";
        case ArgForm::Limit: return "\\code{NULL} (no exclusion asked for) or a number, which also switches on";
        case ArgForm::OptionalCount: break;
    }
    return "\\code{NULL} (the start-up value) or a whole number";
}

// "the setting `name` ("caption" in the window; `--option X` in the batch runner): help"; a
// switch of the batch runner tells which value it sets, since its help speaks of the switch.
// A setting without a caption has no control in the window.
std::string settingWords(const SettingInfo& info) {
    std::string words = "the setting " + code(info.name) + " (" +
                        (info.caption.empty() ? std::string("no control in the window")
                                              : "\"" + rdText(info.caption) + "\" in the window");
    const std::string option = batchOption(info);
    if (!option.empty() && info.batch.argName.empty() && info.kind == SettingKind::Check)
        words += "; the batch runner's " + option + " sets it to " +
                 code(info.batch.switchValue == kOn ? "TRUE" : "FALSE");
    else if (!option.empty())
        words += "; " + option + " in the batch runner";
    return words + "): " + rdText(info.help);
}

std::string item(const RArgument& argument) {
    std::string text = std::string(formWords(argument.form));
    if (!argument.checkBox.empty()) {
        const SettingInfo* box = infoOf(argument.checkBox);
        text += " " + (box ? settingWords(*box) : code(argument.checkBox)) + ";";
    } else {
        text += ":";
    }
    const SettingInfo* info = infoOf(argument.setting);
    text += " " + (info ? settingWords(*info)
                        : code(argument.setting) + ", a setting this build of the core does not have (ignored with a warning)");
    if (!argument.rDefaultWords.empty()) text += ". " + std::string(argument.rDefaultWords);
    else text += ".";
    return "\\item{" + std::string(argument.name) + "}{" + text + "}";
}

std::string usage() {
    std::string out = "el_forecast(x";
    std::size_t width = out.size();
    auto add = [&](const std::string& formal) {
        if (width + formal.size() + 2 > 78) {
            out += ",\n  " + formal;
            width = formal.size() + 2;
        } else {
            out += ", " + formal;
            width += formal.size() + 2;
        }
    };
    for (const std::string& formal : forecastFormalTexts()) add(formal);
    return out + ")";
}

std::string replaced(std::string text, std::string_view marker, const std::string& by) {
    const std::size_t at = text.find(marker);
    if (at != std::string::npos) text.replace(at, marker.size(), by);
    return text;
}

}  // namespace

std::string forecastRd(std::string_view rdTemplate) {
    std::string items;
    for (const RArgument& argument : runArguments()) items += (items.empty() ? "" : "\n") + item(argument);
    return replaced(replaced(std::string(rdTemplate), "@USAGE_FORECAST@", usage()), "@SETTING_ITEMS@", items);
}

}  // namespace el::rpkg
