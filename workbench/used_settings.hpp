#pragma once
// The settings a run used, for the report of it: the window's controls stay live while a
// run works, so a value edited after the run has read it is not what the run used. Stands
// between the run and the live settings and notes each setting's value as the run last
// read it (the read the results of its last pass rest on) or set it; a setting the run
// never reads keeps its value from the run's start.

#include <mutex>

#include "base/settings.hpp"

namespace el::workbench {

class UsedSettings final : public SettingsSource {
public:
    UsedSettings(SettingsSource& live, SettingValues atStart);

    std::string setting(Setting id) const override;
    void setSetting(Setting id, const std::string& value) override;

    SettingValues used() const;

private:
    SettingsSource& live_;
    mutable std::mutex mutex_;
    mutable SettingValues used_;
};

}  // namespace el::workbench
