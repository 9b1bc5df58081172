#include "engine/settings_copy.hpp"

namespace el::engine {

void SettingsCopy::refresh(const SettingsSource& from) {
    std::array<std::string, kSettingCount> fresh;
    for (const SettingInfo& info : settingTable()) fresh[static_cast<std::size_t>(info.id)] = from.setting(info.id);
    const std::lock_guard lock(mutex_);
    values_.swap(fresh);
}

std::string SettingsCopy::setting(Setting id) const {
    const std::lock_guard lock(mutex_);
    return values_[static_cast<std::size_t>(id)];
}

void SettingsCopy::setSetting(Setting id, const std::string& value) {
    const std::lock_guard lock(mutex_);
    values_[static_cast<std::size_t>(id)] = value;
}

}  // namespace el::engine
