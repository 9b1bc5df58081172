#pragma once
// The settings as the thread that called a run last read them, for the passes computed on
// worker threads. The calling thread refreshes the copy after every pass it takes back, so
// a change made during a yield reaches the passes that start after it, and the caller's
// own settings source is only ever read on the caller's thread.

#include <array>
#include <mutex>
#include <string>

#include "base/settings.hpp"

namespace el::engine {

class SettingsCopy : public SettingsSource {
public:
    explicit SettingsCopy(const SettingsSource& from) { refresh(from); }

    // Reads every setting of `from` anew; call on the thread that owns `from`.
    void refresh(const SettingsSource& from);

    std::string setting(Setting id) const override;
    void setSetting(Setting id, const std::string& value) override;

private:
    mutable std::mutex mutex_;
    std::array<std::string, kSettingCount> values_;
};

}  // namespace el::engine
