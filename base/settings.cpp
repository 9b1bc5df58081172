#include "base/settings.hpp"

#ifdef __linux__
#include <sched.h>
#endif

#include <algorithm>
#include <thread>

#include "base/numtext.hpp"
#include "base/parameters.hpp"

namespace el {

SettingValues::SettingValues() {
    for (const auto& info : settingTable()) values_[static_cast<std::size_t>(info.id)] = std::string(info.startup);
}

bool isOn(const SettingsSource& settings, Setting id) { return settings.setting(id) == kOn; }

namespace {

// The cores this process may run on (a container or taskset may allow fewer than the machine has).
int coresAvailable() {
#ifdef __linux__
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) return CPU_COUNT(&set);
#endif
    return static_cast<int>(std::thread::hardware_concurrency());
}

}  // namespace

std::optional<int> threadCountOf(std::string_view text) {
    if (text.empty()) return std::max(1, std::min(kMaxThreads, coresAvailable()));
    // The registry's one check of the thread count, which every front end gives.
    if (refusalOf(parameter(Param::Threads), text, {})) return std::nullopt;
    return static_cast<int>(*parseNumber(text));
}

}  // namespace el
