// The warnings of names that mix alphabets, in the words the user reads before a run.

#include <algorithm>

#include "base/text.hpp"
#include "vector/look_alike_names.hpp"

namespace el::vec {
namespace {

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string alphabet(Script script) { return script == Script::Greek ? "Greek" : "Cyrillic"; }

std::string mixClause(const std::string& what, const ScriptMix& mix) {
    return what + " mixes Latin and " + alphabet(mix.script) + " letters: the " + quoted(mix.letter) + " of " +
           quoted(mix.word) + " is " + alphabet(mix.script) + ".";
}

// A value that says the species was found there (a date or a keyword of arrival).
bool recorded(const std::string& value) {
    return !value.empty() && !equalsIgnoringAsciiCase(value, "null") && value != "NotYetArrived" &&
           value != "Unknown" && value != "\xE6\x9C\xAA\xE5\x88\x86\xE5\xB8\x83" && value != "\xE4\xB8\x8D\xE6\x98\x8E";
}

std::string speciesPlace(const VectorData& data, std::size_t variable) {
    for (const VectorObject& object : data.objects)
        if (variable < object.values.size() && recorded(object.values[variable]))
            return " (recorded in region " + quoted(object.name) + ")";
    return "";
}

std::string speciesText(const VectorData& data, const std::vector<std::string>& names, const MixedScriptName& mixed) {
    std::string text =
        mixClause("the species " + quoted(names[mixed.index]) + speciesPlace(data, mixed.index), mixed.mix);
    if (mixed.lookAlike)
        return text + " It looks like the species " + quoted(names[*mixed.lookAlike]) +
               ", which the data also holds: the two are analysed as different species";
    return text + " Check its spelling in the source: no name typed in Latin letters alone will match it";
}

std::string regionText(const std::vector<std::string>& names, const MixedScriptName& mixed) {
    const auto place = [](std::size_t k) { return " (region " + std::to_string(k + 1) + ")"; };
    std::string text = mixClause("the region " + quoted(names[mixed.index]) + place(mixed.index), mixed.mix);
    if (mixed.lookAlike)
        return text + " It looks like the region " + quoted(names[*mixed.lookAlike]) + place(*mixed.lookAlike) +
               ": the two are different regions to the analysis";
    return text +
           " Check its spelling in the source: a regions layer keyed by the name in Latin letters will not "
           "match it";
}

}  // namespace

std::vector<NameWarning> mixedScriptWarnings(const VectorData& data, const std::vector<std::string>& species) {
    std::vector<NameWarning> warnings;
    std::vector<std::string> regions;
    regions.reserve(data.objects.size());
    for (const VectorObject& object : data.objects) regions.push_back(object.name);
    for (const MixedScriptName& mixed : mixedScriptNames(regions))
        warnings.push_back({regions[mixed.index], regionText(regions, mixed)});
    const auto valn = static_cast<std::size_t>(std::max(data.valn(), 0));
    const std::vector<std::string> names(
        data.valname.begin(), data.valname.begin() + static_cast<std::ptrdiff_t>(std::min(valn, data.valname.size())));
    const auto analysed = [&](std::size_t k) {
        return std::find(species.begin(), species.end(), names[k]) != species.end();
    };
    for (const MixedScriptName& mixed : mixedScriptNames(names))
        if (analysed(mixed.index) || (mixed.lookAlike && analysed(*mixed.lookAlike)))
            warnings.push_back({names[mixed.index], speciesText(data, names, mixed)});
    return warnings;
}

}  // namespace el::vec
