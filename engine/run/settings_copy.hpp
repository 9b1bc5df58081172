#pragma once
// A copy of the settings that several threads share, read and written one setting at a time
// under a lock. The window keeps one that follows every edit of its controls, for its Read
// and run on their worker threads.

#include <mutex>
#include <string>

#include "base/settings.hpp"

namespace el::engine {

class SettingsCopy : public SettingsSource {
public:
    SettingsCopy() = default;  // the start-up values
    explicit SettingsCopy(const SettingsSource& from) { refresh(from); }

    // Reads every setting of `from` anew; call on the thread that owns `from`.
    void refresh(const SettingsSource& from);

    std::string setting(Setting id) const override;
    void setSetting(Setting id, const std::string& value) override;
    // Every setting as it stands now, all taken at one moment.
    SettingValues snapshot() const;

private:
    mutable std::mutex mutex_;
    SettingValues values_;
};

}  // namespace el::engine
