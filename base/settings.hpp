#pragma once
// The settings of a run: their ids, the table of their names, start-up values, window
// captions, batch options and help texts (made from the parameter registry,
// base/parameters.hpp, where they are declared), and the source a run reads them from.

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace el {

enum class Setting {
    DataFileName,
    LogFileName,
    SkipFormatCheck,
    TargetSpecies,
    AutoWeight,
    ExcludeLimited,
    ExcludingLimit,
    AddPrediction,
    WeightPower,
    SampleN,
    ExamineWeight,
    TrainingRatio,
    IterationN,
    DoReliability,
    SimOutput,
    MissingMode,
    ElMatrixOutput,
    Threads,
};
inline constexpr std::size_t kSettingCount = 18;

// Check boxes hold "1" (on) or "0" (off); option groups hold one of their choice values;
// text fields hold the text as typed.
enum class SettingKind { Text, Check, Choice };

inline constexpr std::string_view kOn = "1";
inline constexpr std::string_view kOff = "0";

struct Choice {
    std::string_view value;    // the value the core compares with
    std::string_view caption;  // the option's caption in the window
};

// How the batch runner sets a setting from its command line.
struct BatchOption {
    std::string_view flag;         // long option, e.g. "--weight-power"; empty: not an option
    std::string_view shortFlag;    // e.g. "-t"; may be empty
    std::string_view argName;      // e.g. "X"; empty for a switch
    std::string_view switchValue;  // value a switch sets
    std::optional<Setting> alsoOn;  // a check box the option switches on as well
};

struct SettingInfo {
    Setting id;
    std::string_view name;     // the setting's name, e.g. "weightpower"
    SettingKind kind;
    std::string_view startup;  // start-up value
    std::string_view caption;  // caption of the control (or of the frame of an option group)
    std::span<const Choice> choices;
    BatchOption batch;
    std::string_view help;
};

std::span<const SettingInfo> settingTable();
const SettingInfo& settingInfo(Setting id);
std::optional<Setting> settingByName(std::string_view name);

// Where a run reads its settings. They are read live: the core asks at the moment it
// needs a value, so a change made meanwhile takes effect from then on. The run also
// writes a few (its interlocks, an empty training share), as the window shows them.
//
// A run reads and writes its settings source only on the thread that called it. Each power
// pass reads the settings as they stood when it was handed out: passes are handed out in
// pass order on that thread, a fixed number ahead of the pass last taken back, so a change
// made during a yield reaches the same pass on any number of threads.
class SettingsSource {
public:
    virtual ~SettingsSource() = default;
    virtual std::string setting(Setting id) const = 0;
    virtual void setSetting(Setting id, const std::string& value) = 0;
};

// True when a check-box setting holds "on".
bool isOn(const SettingsSource& settings, Setting id);

// The number of threads a `threads` text asks for: "" (the start-up value) gives every core
// the process may run on, a whole number from 1 to kMaxThreads itself; anything else nothing.
inline constexpr int kMaxThreads = 256;
std::optional<int> threadCountOf(std::string_view text);

// Holds one text per setting, starting from the start-up values: the settings store of
// the batch runner and the tests.
class SettingValues : public SettingsSource {
public:
    SettingValues();
    const std::string& get(Setting id) const { return values_[static_cast<std::size_t>(id)]; }
    void set(Setting id, std::string value) { values_[static_cast<std::size_t>(id)] = std::move(value); }

    std::string setting(Setting id) const override { return get(id); }
    void setSetting(Setting id, const std::string& value) override { set(id, value); }

private:
    std::array<std::string, kSettingCount> values_;
};

}  // namespace el
