#include "ops/examine_weight.hpp"

namespace el::ops {

bool examinesWeight(const SettingsSource& settings) { return isOn(settings, Setting::ExamineWeight); }

std::optional<Diagnostic> weightPlotRefusal(const std::string& file, const SettingsSource& settings) {
    if (file.empty() || examinesWeight(settings)) return std::nullopt;
    return Diagnostic{Severity::Refusal, DiagnosticKind::WeightPlotWithoutGrid,
                      "The weight plot \"" + file + "\" needs an examine-weight run", file};
}

Diagnostics checkExamineWeight(const ForecastRequest& request, const SettingValues& settings,
                               const std::string& weightPlotFile, const ForecastChecks& checks) {
    Diagnostics out = checkForecast(request, settings, checks);
    if (auto refusal = weightPlotRefusal(weightPlotFile, settings)) out.push_back(std::move(*refusal));
    return out;
}

ForecastResult examineWeight(engine::Engine& engine, const ForecastRequest& request, const engine::RunHooks& hooks) {
    hooks.settings.setSetting(Setting::ExamineWeight, std::string(kOn));
    hooks.settings.setSetting(Setting::AddPrediction, std::string(kOff));
    return forecast(engine, request, hooks);
}

}  // namespace el::ops
