#include "engine/pass/pass_settings.hpp"

#include <algorithm>

namespace el::engine {

SettingValues settingsNow(const SettingsSource& live) {
    SettingValues now;
    for (const SettingInfo& info : settingTable()) now.set(info.id, live.setting(info.id));
    return now;
}

PassSettings::PassSettings(const SettingsSource& live, long long passes)
    : live_(live), passes_(passes), ring_(static_cast<std::size_t>(std::max(1LL, std::min(passes, kPassLead)))) {
    const SettingValues now = settingsNow(live_);
    for (; handedOut_ < passes_ && handedOut_ < kPassLead; ++handedOut_) ring_[slot(handedOut_)] = now;
}

void PassSettings::taken(long long k) {
    const long long next = k + kPassLead;
    if (next != handedOut_ || next >= passes_) return;
    ring_[slot(next)] = settingsNow(live_);
    ++handedOut_;
}

}  // namespace el::engine
