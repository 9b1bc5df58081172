#pragma once
// The settings as the work on another thread sees them: a copy of every control's value
// that the window updates on every edit, so a setting read in the middle of a run takes
// the value its control has at that moment.

#include <array>
#include <mutex>
#include <string>

#include "base/settings.hpp"

namespace el::workbench {

class LiveSettings {
public:
    LiveSettings();

    std::string get(Setting id) const;
    void set(Setting id, std::string value);

private:
    mutable std::mutex mutex_;
    std::array<std::string, kSettingCount> values_;
};

}  // namespace el::workbench
