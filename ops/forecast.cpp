#include "ops/forecast.hpp"

#include <algorithm>
#include <chrono>

#include "base/numtext.hpp"
#include "engine/run/input_checks.hpp"
#include "engine/run/skill.hpp"
#include "ops/input_review.hpp"

namespace el::ops {

engine::RunRequest runRequestOf(const ForecastRequest& request) {
    engine::RunRequest run;
    run.data = request.data;
    run.species = request.species;
    run.sourceFile = request.source;
    run.sourceWritable = request.unwritableSource.empty();
    if (!run.sourceWritable) run.unwritableSource = request.unwritableSource;
    run.missvalue = request.missvalue;
    run.calculationDate = request.calculationDate;
    run.workDir = request.workFolder;
    return run;
}

Diagnostics checkForecast(const ForecastRequest& request, const SettingValues& settings, const ForecastChecks& checks) {
    const vec::VectorData& data = *request.data;
    Diagnostics out;
    // An empty species list clears the log whatever the target.
    if (!request.species.empty())
        if (auto refusal = engine::targetRefusal(data, request.species, settings.get(Setting::TargetSpecies)))
            out.push_back({Severity::Refusal, DiagnosticKind::UnknownTarget, std::move(*refusal),
                           settings.get(Setting::TargetSpecies)});
    if (!checks.force)
        if (const auto bytes =
                engine::oversizedSimilarityOutput(request.species, data.objn(), settings, checks.similarityLimit))
            out.push_back({Severity::Refusal, DiagnosticKind::OversizedSimilarityOutput,
                           engine::similaritySizeText(request.species.size(), *bytes), std::to_string(*bytes)});
    for (Diagnostic& warning : inputDiagnostics(data, request.species, settings)) out.push_back(std::move(warning));
    return out;
}

const Diagnostic* firstRefusal(const Diagnostics& diagnostics) {
    const auto found = std::find_if(diagnostics.begin(), diagnostics.end(),
                                    [](const Diagnostic& d) { return d.severity == Severity::Refusal; });
    return found == diagnostics.end() ? nullptr : &*found;
}

ForecastResult forecast(engine::Engine& engine, const ForecastRequest& request, const engine::RunHooks& hooks) {
    const auto started = std::chrono::steady_clock::now();
    ForecastResult out{engine.run(runRequestOf(request), hooks), 0};
    out.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return out;
}

std::optional<Diagnostic> skillWarning(const vec::VectorData& data, const engine::RunResult& result) {
    if (result.examinedWeights) return std::nullopt;  // its last pass is one corner of the grid, not a forecast
    const auto skill = engine::targetSkill(data, result);
    if (!skill || !skill->noSkill || !skill->predictable || !skill->rTraining) return std::nullopt;
    return Diagnostic{Severity::Warning, DiagnosticKind::NoSkill,
                      std::string(engine::kNoSkillSentence) + " (" + skill->species + ", training r " +
                          decimalnum(*skill->rTraining) + ")",
                      skill->species};
}

}  // namespace el::ops
