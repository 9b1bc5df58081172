#include "engine/run/settings_copy.hpp"

#include <utility>

namespace el::engine {

void SettingsCopy::refresh(const SettingsSource& from) {
    SettingValues fresh;
    for (const SettingInfo& info : settingTable()) fresh.set(info.id, from.setting(info.id));
    const std::lock_guard lock(mutex_);
    values_ = std::move(fresh);
}

std::string SettingsCopy::setting(Setting id) const {
    const std::lock_guard lock(mutex_);
    return values_.get(id);
}

void SettingsCopy::setSetting(Setting id, const std::string& value) {
    const std::lock_guard lock(mutex_);
    values_.set(id, value);
}

SettingValues SettingsCopy::snapshot() const {
    const std::lock_guard lock(mutex_);
    return values_;
}

}  // namespace el::engine
