#pragma once
// The batch runner's host: messages go to standard error at once, log lines are kept for
// the end of the run, captions are not shown, settings come from the command line.

#include <ostream>
#include <string>
#include <vector>

#include "base/host.hpp"

namespace el::batch {

class BatchHost : public Host {
public:
    BatchHost(SettingValues values, std::ostream& errors) : values_(std::move(values)), errors_(errors) {}

    void message(const std::string& text) override { errors_ << "earlylate: " << text << "\n" << std::flush; }
    void yield() override {}
    void setCaption(Label, const std::string&) override {}
    void appendLog(const std::string& line) override { log_.push_back(line); }
    void clearLog() override { log_.clear(); }
    std::string setting(Setting id) const override { return values_.get(id); }
    void setSetting(Setting id, const std::string& value) override { values_.set(id, value); }
    void setRunBusy(bool) override {}

    const std::vector<std::string>& log() const { return log_; }

private:
    SettingValues values_;
    std::ostream& errors_;
    std::vector<std::string> log_;
};

}  // namespace el::batch
