#include "base/settings.hpp"

#ifdef __linux__
#include <sched.h>
#endif

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <thread>

#include "base/numtext.hpp"

namespace el {
namespace {

constexpr std::array<Choice, 3> kSimOutputChoices{{
    {"similarity", "similarity"},
    {"distance", "distance"},
    {"none", "none"},
}};
constexpr std::array<Choice, 2> kMissingChoices{{
    {"row", "average in row"},
    {"matrix", "average in matrix"},
}};
constexpr std::array<Choice, 2> kElMatrixChoices{{
    {"detailed", "detailed"},
    {"none", "none"},
}};

constexpr std::array<SettingInfo, kSettingCount> kTable{{
    {Setting::DataFileName, "datafilename", SettingKind::Text, "vector.csv", "File name", {},
     {}, "name of the vector file in the chosen folder"},
    {Setting::LogFileName, "logfilename", SettingKind::Text, "log.csv", "File name to save log", {},
     {"--log", "-o", "FILE", "", std::nullopt},
     "write the log lines to FILE as \"Save log\" does (default: standard output)"},
    {Setting::SkipFormatCheck, "skipformatcheck", SettingKind::Check, kOn, "skip vector file format chek", {},
     {"--format-check", "", "", kOff, std::nullopt},
     "run the duplicate-name and crossing-boundary checks of the reader (default: skipped)"},
    {Setting::TargetSpecies, "targetspecies", SettingKind::Text, "", "Target species (whole list too)", {},
     {"--target", "-t", "NAME", "", std::nullopt}, "target species, also one of the species analysed (default: none)"},
    {Setting::AutoWeight, "autoweight", SettingKind::Check, kOff,
     "Automatic weight for the case without target species", {},
     {"--auto-weight", "", "", kOn, std::nullopt}, "automatic species weights when there is no target species"},
    {Setting::ExcludeLimited, "excludelimited", SettingKind::Check, kOff,
     "Exclude regions with limited number of vaiable species", {},
     {}, "exclude regions with few early-late relations"},
    {Setting::ExcludingLimit, "excludinglimit", SettingKind::Text, "5", "excluding limit ", {},
     {"--exclude-limited", "", "N", "", Setting::ExcludeLimited},
     "exclude regions with at most N early-late relations"},
    {Setting::AddPrediction, "addprediction", SettingKind::Check, kOff, "Add prediction to source file", {},
     {"--add-prediction", "", "", kOn, std::nullopt}, "write the prediction back into FILE as new variables"},
    {Setting::WeightPower, "weightpower", SettingKind::Text, "6.65", "Similarity", {},
     {"--weight-power", "", "X", "", std::nullopt}, "power applied to the similarity in the species weight"},
    {Setting::SampleN, "samplen", SettingKind::Text, "0", "N of samples", {},
     {"--sample-power", "", "X", "", std::nullopt}, "power applied to the number of samples in the species weight"},
    {Setting::ExamineWeight, "examineweight", SettingKind::Check, kOff, "examine weight", {},
     {"--examine-weight", "", "", kOn, std::nullopt},
     "run over the 200 x 200 grid of weighting powers and write WeightTest<target>.csv"},
    {Setting::TrainingRatio, "trainingratio", SettingKind::Text, "1", "Training regions / all (1-0)", {},
     {"--training-ratio", "", "X", "", std::nullopt}, "share of the target's regions kept for training"},
    {Setting::IterationN, "iterationn", SettingKind::Text, "100", "iteration", {},
     {"--iterations", "", "N", "", std::nullopt}, "number of fluctuation trials"},
    {Setting::DoReliability, "doreliability", SettingKind::Check, kOn, "Reliability", {},
     {"--no-reliability", "", "", kOff, std::nullopt}, "skip the fluctuation trials"},
    {Setting::SimOutput, "simoutput", SettingKind::Choice, "none", "Output similarity dissimilarity matrix",
     kSimOutputChoices, {"--similarity-output", "", "none|distance|similarity", "", std::nullopt},
     "write the species similarity or dissimilarity matrix to the log"},
    {Setting::MissingMode, "missingmode", SettingKind::Choice, "matrix", "Missing value in early-late matrix",
     kMissingChoices, {"--missing", "", "row|matrix", "", std::nullopt},
     "fill missing cells of the early-late matrix with the row or the matrix average"},
    {Setting::ElMatrixOutput, "elmatrixoutput", SettingKind::Choice, "none", "Output early-late matrix",
     kElMatrixChoices, {"--el-matrix", "", "none|detailed", "", std::nullopt},
     "write the adjusted early-late matrix to the log"},
    {Setting::Threads, "threads", SettingKind::Text, "", "", {},  // no window control: the window uses every core
     {"--threads", "", "N", "", std::nullopt},
     "compute on N threads; the results are the same for any N (default: every core)"},
}};

constexpr bool tableInOrder() {
    for (std::size_t i = 0; i < kTable.size(); ++i)
        if (static_cast<std::size_t>(kTable[i].id) != i) return false;
    return true;
}
static_assert(tableInOrder(), "the settings table must list the settings in enum order");

}  // namespace

std::span<const SettingInfo> settingTable() { return kTable; }

const SettingInfo& settingInfo(Setting id) { return kTable[static_cast<std::size_t>(id)]; }

std::optional<Setting> settingByName(std::string_view name) {
    for (const auto& info : kTable)
        if (info.name == name) return info.id;
    return std::nullopt;
}

SettingValues::SettingValues() {
    for (const auto& info : kTable) values_[static_cast<std::size_t>(info.id)] = std::string(info.startup);
}

bool isOn(const SettingsSource& settings, Setting id) { return settings.setting(id) == kOn; }

namespace {

// The cores this process may run on (a container or taskset may allow fewer than the machine has).
int coresAvailable() {
#ifdef __linux__
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) return CPU_COUNT(&set);
#endif
    return static_cast<int>(std::thread::hardware_concurrency());
}

}  // namespace

std::optional<int> threadCountOf(std::string_view text) {
    if (text.empty()) return std::max(1, std::min(kMaxThreads, coresAvailable()));
    const auto value = parseNumber(text);
    if (!value || *value != std::floor(*value) || *value < 1 || *value > kMaxThreads) return std::nullopt;
    return static_cast<int>(*value);
}

}  // namespace el
