#pragma once
// The converter's host: messages go to standard error at once; nothing else is shown.
// Settings keep their start-up values (the format check of the Read step is off).

#include <ostream>
#include <string>

#include "base/host.hpp"

namespace el::gis {

class ConsoleHost : public Host {
public:
    explicit ConsoleHost(std::ostream& errors) : errors_(errors) {}

    void message(const std::string& text) override { errors_ << "earlylate: " << text << "\n" << std::flush; }
    void yield() override {}
    void setCaption(Label, const std::string&) override {}
    void appendLog(const std::string&) override {}
    void clearLog() override {}
    std::string setting(Setting id) const override { return values_.get(id); }
    void setSetting(Setting id, const std::string& value) override { values_.set(id, value); }
    void setRunBusy(bool) override {}

private:
    SettingValues values_;
    std::ostream& errors_;
};

}  // namespace el::gis
