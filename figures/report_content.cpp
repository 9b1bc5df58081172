#include "figures/report_content.hpp"

namespace el::figures {
namespace {

// The setting as the window shows it: check boxes on/off, option groups by their caption.
ReportSetting reportSetting(const SettingInfo& info, const std::string& value) {
    std::string caption(info.caption);
    while (!caption.empty() && caption.back() == ' ') caption.pop_back();
    if (info.id == Setting::WeightPower || info.id == Setting::SampleN) caption = "Power in weight calculation, " + caption;
    std::string shown = value;
    if (info.kind == SettingKind::Check) shown = value == kOn ? "on" : "off";
    for (const Choice& choice : info.choices)
        if (choice.value == value) shown = std::string(choice.caption);
    return {caption, shown.empty() ? "(none)" : shown};
}

// The trial SDs of a predictable target in date units, as its report block shows them.
void addTrialSpread(const engine::RunResult& run, ReportContent& content) {
    if (!run.trials.ran || run.target < 0) return;
    const engine::SpeciesOutcome& target = run.species[static_cast<std::size_t>(run.target)];
    if (!target.fit.predictable) return;
    content.trialSpread = target.scale * run.trials.vectorshift;
    content.dateSd.assign(run.regionNames.size(), std::nullopt);
    for (const int k : run.regno)
        if (k >= 0 && static_cast<std::size_t>(k) < run.trials.eigensd.size())
            content.dateSd[static_cast<std::size_t>(k)] = target.scale * run.trials.eigensd[static_cast<std::size_t>(k)];
}

}  // namespace

ReportContent reportContentOf(const vec::VectorData& data, const engine::RunResult& run, const SettingsSource& settings,
                              std::string sourceFile, std::string calculationDate, const MapChoice& map,
                              const MapOptions& mapOptions) {
    ReportContent content;
    content.sourceFile = std::move(sourceFile);
    content.calculationDate = std::move(calculationDate);
    // Every setting that shapes the results: the file names stand above, and the thread
    // count changes no number.
    for (const SettingInfo& info : settingTable())
        if (info.id != Setting::DataFileName && info.id != Setting::LogFileName && info.id != Setting::Threads)
            content.settings.push_back(reportSetting(info, settings.setting(info.id)));
    content.data = &data;
    content.run = &run;
    content.map = map;
    content.mapOptions = mapOptions;
    addTrialSpread(run, content);
    if (run.examinedWeights) content.weightGrid = weightGridOf(run);
    return content;
}

}  // namespace el::figures
