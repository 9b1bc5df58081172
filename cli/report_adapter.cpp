#include "cli/report_adapter.hpp"

#include <algorithm>

#include "base/numtext.hpp"
#include "base/settings.hpp"
#include "engine/run_weight_test_file.hpp"
#include "vector/file_bytes.hpp"

namespace el::batch {
namespace {

// The setting as the window shows it: check boxes on/off, option groups by their caption.
figures::ReportSetting reportSetting(const SettingInfo& info, const std::string& value) {
    std::string caption(info.caption);
    while (!caption.empty() && caption.back() == ' ') caption.pop_back();
    if (info.id == Setting::WeightPower || info.id == Setting::SampleN) caption = "Power in weight calculation, " + caption;
    std::string shown = value;
    if (info.kind == SettingKind::Check) shown = value == kOn ? "on" : "off";
    for (const Choice& choice : info.choices)
        if (choice.value == value) shown = std::string(choice.caption);
    return {caption, shown.empty() ? "(none)" : shown};
}

// Until the run's result carries them, the trial SDs of the target come from its block in
// the log: "Average in STD of fluctuation tryal: X" after "Species: NAME", and the last
// field of each row of its table, one row per used region in file order.
void readTrialSpread(const CompletedRun& run, figures::ReportContent& content) {
    const engine::RunSummary& s = run.summary;
    if (s.target < 0 || !s.fits[static_cast<std::size_t>(s.target)].predictable) return;
    const std::string head = "Species: " + s.speciesNames[static_cast<std::size_t>(s.target)];
    const auto block = std::find(run.log.rbegin(), run.log.rend(), head);
    if (block == run.log.rend() || block == run.log.rbegin()) return;
    auto line = block.base();  // the line after the head
    const std::string average = "Average in STD of fluctuation tryal: ";
    if (!line->starts_with(average)) return;
    const auto spread = parseNumber(line->substr(average.size()));
    line = std::find_if(line, run.log.end(), [](const std::string& l) { return l.starts_with("Region, Training data,"); });
    std::vector<int> used = s.regno;
    std::sort(used.begin(), used.end());
    std::vector<std::optional<double>> sd(s.regionNames.size());
    for (const int k : used) {
        if (line == run.log.end() || ++line == run.log.end()) return;
        const auto comma = line->rfind(", ");
        if (comma == std::string::npos || k < 0 || static_cast<std::size_t>(k) >= sd.size()) return;
        sd[static_cast<std::size_t>(k)] = parseNumber(line->substr(comma + 2));
    }
    content.trialSpread = spread;
    content.dateSd = std::move(sd);
}

}  // namespace

std::optional<figures::WeightGrid> weightGridOf(const CompletedRun& run) {
    if (!isOn(run.settings, Setting::ExamineWeight)) return std::nullopt;
    const auto file = run.workDir / engine::WeightTestFile::fileName(run.settings.setting(Setting::TargetSpecies));
    const std::optional<std::string> text = vec::readWholeFile(file);
    if (!text) return std::nullopt;
    return figures::parseWeightTest(*text);
}

figures::ReportContent reportContentOf(const CompletedRun& run, const figures::MapChoice& map,
                                       const figures::MapOptions& mapOptions) {
    figures::ReportContent content;
    content.sourceFile = run.sourceFile;
    content.calculationDate = run.calculationDate;
    content.species = run.species;
    content.examineWeight = isOn(run.settings, Setting::ExamineWeight);
    for (const SettingInfo& info : settingTable())
        if (info.id != Setting::DataFileName && info.id != Setting::LogFileName)
            content.settings.push_back(reportSetting(info, run.settings.setting(info.id)));
    content.data = &run.data;
    content.run = &run.summary;
    content.map = map;
    content.mapOptions = mapOptions;
    if (isOn(run.settings, Setting::DoReliability)) readTrialSpread(run, content);
    content.weightGrid = weightGridOf(run);
    return content;
}

}  // namespace el::batch
