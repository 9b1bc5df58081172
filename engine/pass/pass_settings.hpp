#pragma once
// The settings each power pass reads, handed out in pass order on the thread that called
// the run. The first kPassLead passes get the settings as they stand when the passes begin;
// pass k + kPassLead gets them as they stand once pass k has been taken back (reported, its
// prediction written, its progress shown). A change made during a run thus reaches the same
// pass whether the passes run one after the other or on any number of workers.

#include <cstddef>
#include <vector>

#include "base/settings.hpp"

namespace el::engine {

// How many passes are handed out ahead of the one taken back: the most that workers may
// compute side by side.
inline constexpr long long kPassLead = 64;

// Every setting of `live`, each read once.
SettingValues settingsNow(const SettingsSource& live);

class PassSettings {
public:
    // Hands out the first passes of `passes`; call on the thread that owns `live`.
    PassSettings(const SettingsSource& live, long long passes);

    // Pass k is taken back: hands out pass k + kPassLead, if the run has one.
    void taken(long long k);
    // Passes 0 .. handedOut() - 1 have their settings.
    long long handedOut() const { return handedOut_; }
    // The settings of a pass handed out and not yet taken back.
    const SettingValues& of(long long k) const { return ring_[slot(k)]; }

private:
    std::size_t slot(long long k) const { return static_cast<std::size_t>(k) % ring_.size(); }

    const SettingsSource& live_;
    long long passes_;
    long long handedOut_ = 0;
    std::vector<SettingValues> ring_;
};

}  // namespace el::engine
