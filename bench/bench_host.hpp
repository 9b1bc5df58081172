#pragma once
// A host for benchmarks: settings from a plain store, messages to standard error,
// everything else dropped.

#include <iostream>

#include "base/host.hpp"

namespace el::bench {

class BenchHost : public Host {
public:
    void message(const std::string& text) override { std::cerr << "earlylate: " << text << '\n'; ++messages; }
    void yield() override {}
    void setCaption(Label, const std::string&) override {}
    void appendLog(const std::string&) override { ++logLines; }
    void clearLog() override { logLines = 0; }
    std::string setting(Setting id) const override { return values.get(id); }
    void setSetting(Setting id, const std::string& value) override { values.set(id, value); }
    void setRunBusy(bool) override {}

    SettingValues values;
    long logLines = 0;
    int messages = 0;
};

}  // namespace el::bench
