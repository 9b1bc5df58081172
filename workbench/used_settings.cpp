#include "workbench/used_settings.hpp"

#include <utility>

namespace el::workbench {

UsedSettings::UsedSettings(SettingsSource& live, SettingValues atStart)
    : live_(live), used_(std::move(atStart)) {}

std::string UsedSettings::setting(Setting id) const {
    std::string value = live_.setting(id);
    const std::lock_guard lock(mutex_);
    used_.set(id, value);
    return value;
}

void UsedSettings::setSetting(Setting id, const std::string& value) {
    live_.setSetting(id, value);
    const std::lock_guard lock(mutex_);
    used_.set(id, value);
}

SettingValues UsedSettings::used() const {
    const std::lock_guard lock(mutex_);
    return used_;
}

}  // namespace el::workbench
