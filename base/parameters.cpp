#include "base/parameters.hpp"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "base/encoding_name.hpp"
#include "base/numtext.hpp"
#include "base/parameter_table.hpp"
#include "base/text.hpp"

namespace el {
namespace {

std::string inQuotes(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string takes(const Parameter& p, std::string_view value) {
    return " takes " + std::string(p.expects) + ", not " + inQuotes(value);
}

bool isWhole(std::string_view text, double min, double max) {
    const auto value = parseNumber(text);
    return value && *value == std::floor(*value) && *value >= min && *value <= max;
}

std::optional<std::string> fileRefusal(const Parameter& p, std::string_view value, const Capabilities& can) {
    if (p.extensions.empty()) return std::nullopt;
    const std::string extension = asciiLower(std::filesystem::path(std::string(value)).extension().string());
    const auto at = std::find_if(p.extensions.begin(), p.extensions.end(),
                                 [&](const FileExtension& e) { return e.extension == extension; });
    if (at == p.extensions.end()) return ": " + inQuotes(value) + " must end in " + std::string(p.expects);
    if (!at->gis || can.gis) return std::nullopt;
    const auto plain =
        std::find_if(p.extensions.begin(), p.extensions.end(), [](const FileExtension& e) { return !e.gis; });
    return ": this build has no GIS support; write " + inQuotes(value) + " as " + std::string(plain->extension) +
           " instead";
}

std::optional<std::string> boxRefusal(const Parameter& p, std::string_view value) {
    const std::vector<std::string> fields = splitAtCommas(value);
    const std::string bad = takes(p, value);
    if (fields.size() != 4) return bad + ": four numbers are needed";
    std::array<double, 4> box{};
    for (std::size_t i = 0; i < 4; ++i) {
        const auto number = parseNumber(fields[i]);
        if (!number) return bad + ": " + inQuotes(fields[i]) + " is not a number";
        box[i] = *number;
    }
    if (!(box[0] < box[2]) || !(box[1] < box[3])) return bad + ": each minimum must lie below its maximum";
    return std::nullopt;
}

std::optional<std::string> typeRefusal(const Parameter& p, std::string_view value, const Capabilities& can) {
    switch (p.type) {
        case ParamType::Text:
        case ParamType::Switch:
        case ParamType::List:
            return std::nullopt;
        case ParamType::Choice:
            if (std::any_of(p.choices.begin(), p.choices.end(), [&](const Choice& c) { return c.value == value; }))
                return std::nullopt;
            return takes(p, value);
        case ParamType::WholeNumber:
            if (isWhole(value, p.min, p.max)) return std::nullopt;
            return takes(p, value);
        case ParamType::Number:
            if (p.has(kCheckedByRun) || parseNumber(value)) return std::nullopt;
            return takes(p, value);
        case ParamType::File:
            return fileRefusal(p, value, can);
        case ParamType::NumberList:
            for (const std::string& item : splitAtCommas(value))
                if (!parseNumber(item)) return ": " + inQuotes(item) + " is not " + std::string(p.expects);
            return std::nullopt;
        case ParamType::Box:
            return boxRefusal(p, value);
        case ParamType::Encoding:
            if (encodingKnown(std::string(value))) return std::nullopt;
            return ": unknown text encoding " + inQuotes(value);
        case ParamType::Pair: {
            const std::size_t equals = value.find('=');
            if (equals == std::string_view::npos || (equals != 0 && equals + 1 != value.size())) return std::nullopt;
            return takes(p, value);
        }
    }
    return std::nullopt;
}

// The settings table as the window and the engine's callers see it, made from the registry.
std::array<SettingInfo, kSettingCount> makeSettingTable() {
    std::array<SettingInfo, kSettingCount> settings{};
    for (const Parameter& p : registry::table()) {
        if (!p.setting) continue;
        const SettingKind kind = p.type == ParamType::Switch   ? SettingKind::Check
                                 : p.type == ParamType::Choice ? SettingKind::Choice
                                                               : SettingKind::Text;
        const bool isSwitch = p.type == ParamType::Switch;
        settings[static_cast<std::size_t>(*p.setting)] = {*p.setting,
                                                          p.name,
                                                          kind,
                                                          p.defaultValue,
                                                          p.spelling.caption,
                                                          p.choices,
                                                          {p.spelling.flag, p.spelling.shortFlag, p.spelling.argName,
                                                           isSwitch ? p.switchValue : std::string_view(), p.alsoOn},
                                                          p.help};
    }
    return settings;
}

const std::array<SettingInfo, kSettingCount>& settingsOfRegistry() {
    static const std::array<SettingInfo, kSettingCount> settings = makeSettingTable();
    return settings;
}

}  // namespace

std::span<const Parameter> parameterTable() { return registry::table(); }

const Parameter& parameter(Param id) { return registry::table()[static_cast<std::size_t>(id)]; }

std::optional<Param> parameterByName(std::string_view name) {
    for (const Parameter& p : registry::table())
        if (p.name == name) return p.id;
    return std::nullopt;
}

Param parameterOf(Setting setting) {
    return static_cast<Param>(static_cast<std::size_t>(Param::DataFileName) + static_cast<std::size_t>(setting));
}

std::vector<const Parameter*> parametersFor(FrontEnd front) {
    std::vector<const Parameter*> shown;
    for (const Parameter& p : registry::table())
        if (p.shownBy(front)) shown.push_back(&p);
    return shown;
}

std::vector<const Parameter*> parametersFor(FrontEnd front, ParamGroup group) {
    std::vector<const Parameter*> shown = parametersFor(front);
    std::erase_if(shown, [group](const Parameter* p) { return p->group != group; });
    return shown;
}

std::string helpText(const Parameter& p, FrontEnd front) {
    std::string text(front == kConvert && !p.convertHelp.empty() ? p.convertHelp : p.help);
    constexpr std::string_view kDefault = "{default}";
    if (const std::size_t at = text.find(kDefault); at != std::string::npos)
        text.replace(at, kDefault.size(), p.defaultValue);
    return text;
}

int wholeDefault(Param id) {
    const auto value = parseNumber(parameter(id).defaultValue);
    return value ? static_cast<int>(*value) : 0;
}

std::optional<std::string> refusalOf(const Parameter& p, std::string_view value, const Capabilities& can) {
    if (value.empty()) {
        if (p.has(kEmptyAllowed)) return std::nullopt;
        if (p.has(kNonEmpty)) return " needs " + std::string(p.needs);
    }
    if (p.has(kNonEmptyItems)) {
        const std::vector<std::string> items = splitAtCommas(value);
        if (std::any_of(items.begin(), items.end(), [](const std::string& item) { return item.empty(); }))
            return " needs " + std::string(p.needs);
    }
    return typeRefusal(p, value, can);
}

ParamValues::ParamValues() {
    for (const Parameter& p : registry::table()) texts_[index(p.id)] = std::string(p.defaultValue);
}

void ParamValues::set(Param id, std::string value) {
    texts_[index(id)] = std::move(value);
    given_[index(id)] = true;
}

// The values of a repeatable parameter stand one a line: a line end is no part of a value
// typed on a command line or in a field.
void ParamValues::add(Param id, const std::string& value) { set(id, given(id) ? text(id) + "\n" + value : value); }

std::vector<std::string> ParamValues::items(Param id) const {
    std::vector<std::string> out;
    if (!given(id)) return out;
    const std::string& all = text(id);
    std::size_t at = 0;
    while (true) {
        const std::size_t end = all.find('\n', at);
        out.push_back(all.substr(at, end == std::string::npos ? std::string::npos : end - at));
        if (end == std::string::npos) return out;
        at = end + 1;
    }
}

bool ParamValues::on(Param id) const { return text(id) == kOn; }

int ParamValues::whole(Param id) const {
    const auto value = parseNumber(text(id));
    return value ? static_cast<int>(*value) : 0;
}

std::vector<std::string> ParamValues::list(Param id) const {
    if (text(id).empty()) return {};
    return splitAtCommas(text(id));
}

std::vector<double> ParamValues::numbers(Param id) const {
    std::vector<double> out;
    for (const std::string& item : list(id))
        if (const auto value = parseNumber(item)) out.push_back(*value);
    return out;
}

std::optional<std::array<double, 4>> ParamValues::box(Param id) const {
    if (!given(id)) return std::nullopt;
    const std::vector<double> values = numbers(id);
    if (values.size() != 4) return std::nullopt;
    return std::array<double, 4>{values[0], values[1], values[2], values[3]};
}

SettingValues ParamValues::settings() const {
    SettingValues values;
    for (const Parameter& p : registry::table())
        if (p.setting) values.set(*p.setting, text(p.id));
    return values;
}

std::span<const SettingInfo> settingTable() { return settingsOfRegistry(); }

const SettingInfo& settingInfo(Setting id) { return settingsOfRegistry()[static_cast<std::size_t>(id)]; }

std::optional<Setting> settingByName(std::string_view name) {
    for (const auto& info : settingsOfRegistry())
        if (info.name == name) return info.id;
    return std::nullopt;
}

}  // namespace el
