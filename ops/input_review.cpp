#include "ops/input_review.hpp"

#include <algorithm>

#include "engine/run/input_checks.hpp"
#include "vector/look_alike_names.hpp"
#include "vector/text_encoding.hpp"

namespace el::ops {
namespace {

Diagnostic warning(DiagnosticKind kind, std::string text, std::string subject) {
    return {Severity::Warning, kind, std::move(text), std::move(subject)};
}

}  // namespace

Diagnostics inputDiagnostics(const vec::VectorData& data, const std::vector<std::string>& species,
                             const SettingValues& settings) {
    Diagnostics found;
    if (auto duplicated = engine::duplicatedNamesWarning(data))
        found.push_back(warning(DiagnosticKind::DuplicatedRegionNames, std::move(*duplicated),
                                engine::duplicatedRegionNames(data).front()));
    for (const std::string& name : species)
        for (std::string& text : engine::undatedSpeciesWarnings(data, {name}))
            found.push_back(warning(DiagnosticKind::UndatedSpecies, std::move(text), name));
    const std::string& target = settings.get(Setting::TargetSpecies);
    if (std::find(species.begin(), species.end(), target) != species.end())
        if (auto share = engine::noValidationWarning(data, target, settings.get(Setting::TrainingRatio)))
            found.push_back(warning(DiagnosticKind::NoValidation, std::move(*share), target));
    for (vec::NameWarning& mixed : vec::mixedScriptWarnings(data, species))
        found.push_back(warning(DiagnosticKind::MixedScriptName, std::move(mixed.text), std::move(mixed.name)));
    return found;
}

std::optional<Diagnostic> encodingGuess(const std::string& fileName, const vec::TextEncoding& encoding) {
    auto notice = vec::encodingNotice(fileName, encoding);
    if (!notice) return std::nullopt;
    return Diagnostic{Severity::Warning, DiagnosticKind::EncodingGuess, std::move(*notice), encoding.name};
}

std::vector<std::string> consoleTexts(const Diagnostics& diagnostics) {
    std::vector<std::string> texts;
    texts.reserve(diagnostics.size());
    for (const Diagnostic& d : diagnostics)
        texts.push_back(d.severity == Severity::Warning ? "warning: " + d.text : d.text);
    return texts;
}

}  // namespace el::ops
