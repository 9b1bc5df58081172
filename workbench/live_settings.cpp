#include "workbench/live_settings.hpp"

namespace el::workbench {

LiveSettings::LiveSettings() {
    for (const SettingInfo& info : settingTable()) values_[static_cast<std::size_t>(info.id)] = std::string(info.startup);
}

std::string LiveSettings::get(Setting id) const {
    const std::lock_guard lock(mutex_);
    return values_[static_cast<std::size_t>(id)];
}

void LiveSettings::set(Setting id, std::string value) {
    const std::lock_guard lock(mutex_);
    values_[static_cast<std::size_t>(id)] = std::move(value);
}

}  // namespace el::workbench
